#include "model/infra/appstate.h"

const QString appVersion = QStringLiteral("v 1.3.1");
QStringList scannedFiles;
QString projectDir;
QString importError;
int currentStep = StepGetTemplate;
