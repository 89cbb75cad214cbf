#pragma once

#include <QString>
#include <QStringList>

// Program-wide state that lives for the whole run. Written on the GUI
// thread only; the parallel page workers read scannedFiles while the GUI
// thread waits for them.

// The framing step the operator is in; the step buttons show it plus one.
enum ProcedureStep {
    StepGetTemplate = 0,
    StepLines = 1,
    StepTitles = 2,
    StepExamNumber = 3,
    StepObjective = 4,
    StepSubjective = 5,
    StepPageNumber = 6,
    StepOtherMarks = 7,
};

// The face of a paper; page index = paper * 2 + face.
enum EPageFace {
    FaceFront = 0,
    FaceBack = 1,
};

extern const QString appVersion;   // "v 1.3.1"
extern QStringList scannedFiles;   // the intake image files, in page order
extern QString projectDir;         // folder of the template read or saved
extern QString importError;        // warning about a missing page image
extern int currentStep;            // a ProcedureStep value

constexpr int maxOptionalGroups = 5;
constexpr int maxOptionalPerGroup = 5;
