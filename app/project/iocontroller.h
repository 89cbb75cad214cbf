#pragma once

#include "model/marks.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class EIMainWindow;
class QWidget;

// The file dialogs the I/O controller asks. Tests put answers of their own
// here; by default they are Qt's dialogs.
struct FileDialogs
{
    using OpenFile = std::function<QString(QWidget* parent, const QString& caption, const QString& folder,
                                           const QString& filter)>;
    using OpenFiles = std::function<QStringList(QWidget* parent, const QString& caption, const QString& folder,
                                                const QString& filter)>;

    OpenFile openFileName;
    OpenFiles openFileNames;

    FileDialogs();
};

// Everything that reads or writes a project: a new project, the import of
// a saved template and the intake of sheet images with their checks. It
// works on the program-wide template and answers the main window only
// through its signals, each carrying a state: 1 done, 0 failed, 2
// cancelled or refused.
class IOController : public QObject
{
    Q_OBJECT

public:
    // `parent` is the main window, whose busy overlay carries every dialog
    // and message; any other parent (or none) shows them as top-level windows.
    explicit IOController(QObject* parent = nullptr);
    ~IOController() override;

    void setFileDialogs(const FileDialogs& dialogs) { fileDialogs = dialogs; }

    // Counts, loads, turns, checks and stores the intake images as the
    // template's pages; true when all passed. Shows its own messages and
    // may start a new intake from them.
    bool checkImages(const QStringList& files);

    // The papers of the template made anew for pageCount pages: page i is
    // face i % 2 of paper i / 2.
    static void setUpPages(int pageCount);

    // Where the next save writes; empty when it will ask.
    QString nextSavePath() const { return savePath; }

signals:
    void importImagesDone(int state);
    void newProjectDone(int state);
    void importProjectDone(int state);
    void saveProjectDone(int state);
    void scanComplete(int state);

public slots:
    void importImages();
    void newProject();
    void importProject();
    void scanImage();
    void onScanComplete(int type, const QString& msg);

private:
    QWidget* raiseOverlay();
    void closeOverlay();
    int ask(const QString& text, const QString& retryText = QString());
    // A failed import: the reason shown, the template and its folder reset.
    void refuseImport(const QString& reason);
    // Starts the intake of the kind under check again.
    void restartIntake();

    QString lastError;
    QString savePath;
    bool fromImport = false;
    QPointer<EIMainWindow> mainWindow;
    FileDialogs fileDialogs;
};
