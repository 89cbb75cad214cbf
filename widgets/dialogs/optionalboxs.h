#pragma once

#include <QFrame>
#include <QList>

class EICheckBox;
class EILabel;
class EISpainBox;
class QGridLayout;
class QHBoxLayout;
class QTimer;
class QVBoxLayout;

// One group of the association dialog: a caption, one check box per
// candidate question and how many of the checked ones a candidate answers.
// A forbidden click is undone at once and explained in the group's own
// red line for a few seconds.
class OptionalBoxs : public QFrame
{
    Q_OBJECT

public:
    explicit OptionalBoxs(QWidget* parent = nullptr);

    void setGroupId(int id);
    int groupId() const { return id; }
    void setMaxPerGroup(int max) { maxPerGroup = max; }
    // Builds one disabled check box per number, five to a row.
    void setTopics(const QList<int>& numbers);
    void setEditable(bool canEdit) { editable = canEdit; }
    bool isEditable() const { return editable; }
    // Checks the given numbers (enabled only in an editable group, and
    // there no more than the maximum per group, with the limit's message);
    // an answer count of 0 takes about half of them.
    void setCheckedTopics(const QList<int>& numbers, int answerCount);
    void setTopicEnabled(int number, bool enabled);
    QList<int> checkedTopics() const;
    int answerCount() const;
    // Disconnects the check boxes and schedules them and the group for
    // deletion.
    void destroyGroup();

    // How long a message stays; each new message gets the full time.
    static constexpr int messageTime = 3000;

signals:
    void checkChanged(int num, bool checked, int groupId);

public slots:
    void onTopicClicked(QString val, bool checked);
    void onBoxSizeChnaged(int val);

private:
    void showMessage(const QString& text);
    EICheckBox* boxOf(int number) const;
    int checkedCount() const;

    EILabel* captionLabel;
    EILabel* answerLabel;
    EILabel* messageLabel;
    EILabel* unitLabel;
    int maxPerGroup = 5;
    QList<EICheckBox*> checkBoxes;
    EISpainBox* answerBox;
    QGridLayout* checkGrid;
    QVBoxLayout* verticalLayout;
    QHBoxLayout* horizontalLayout;
    QFrame* checkFrame;
    QTimer* messageTimer;
    int id = 0;
    bool editable = true;
};
