#pragma once

#include "model/marks.h"
#include "scanner/scancodes.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class BusyOverlayHost;
class EIMainWindow;
class EIScan;
class QWidget;

// The file dialogs the I/O controller asks. Tests put answers of their own
// here; by default they are Qt's dialogs.
struct FileDialogs
{
    using OpenFile = std::function<QString(QWidget* parent, const QString& caption, const QString& folder,
                                           const QString& filter)>;
    using OpenFiles = std::function<QStringList(QWidget* parent, const QString& caption, const QString& folder,
                                                const QString& filter)>;
    using ExistingFolder = std::function<QString(QWidget* parent, const QString& caption, const QString& folder)>;

    OpenFile openFileName;
    OpenFiles openFileNames;
    // Folders only, links not followed.
    ExistingFolder existingDirectory;

    FileDialogs();
};

// Everything that reads or writes a project: a new project, the import of
// a saved template, the intake of sheet images with their checks and the
// save of the template folder. It works on the program-wide template and
// answers the main window only through its signals, each carrying a State.
class IOController : public QObject
{
    Q_OBJECT

public:
    // How a command ended. The numbers are fixed: 1 done, 0 failed (a
    // template that could not be read or written), 2 cancelled by the
    // operator or refused by a check.
    enum class State { Failed = 0, Done = 1, Cancelled = 2 };
    Q_ENUM(State)

    // `parent` is the main window, whose busy overlay carries every dialog
    // and message; any other parent (or none) shows them as top-level windows.
    explicit IOController(QObject* parent = nullptr);
    ~IOController() override;

    void setFileDialogs(const FileDialogs& dialogs) { fileDialogs = dialogs; }
    // The folder whose "scanImage" takes the scanned pages: the program's
    // own by default; tests scan into a scratch folder.
    void setProgramDir(const QString& folder) { programDir = folder; }
    // What the picture file dialog lists.
    static QString pictureFileFilter();

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
    void importImagesDone(IOController::State state);
    void newProjectDone(IOController::State state);
    void importProjectDone(IOController::State state);
    void saveProjectDone(IOController::State state);
    void scanComplete(IOController::State state);

public slots:
    void importImages();
    void newProject();
    void importProject();
    // Asks which scanner to use and starts a scan; the busy overlay stays
    // up until its end reaches onScanComplete.
    void scanImage();
    // Writes the template folder; answers with saveProjectDone.
    void saveProject();
    void onScanComplete(ScanCompletion type, const QString& msg);
    // The overlay's "取消" during a scan: the scan ends, its pages stay.
    void cancelScan();

private:
    // Page `number` of the scan is being read: said on the overlay, with "取消".
    void showScanProgress(int number);
    // A flatbed waits for its next sheet: the operator lays it or cancels.
    void onSheetWanted();
    // The main window, which lays the busy overlay; null without one.
    BusyOverlayHost* overlayHost() const;
    // A message over the busy overlay with a single button.
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
    EIScan* scanner = nullptr;
    QString programDir;
    // This controller started the scan that is running; only that scan's
    // end is this controller's to check.
    bool scanRunning = false;
};
