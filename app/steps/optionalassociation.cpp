// The association of optional questions into groups: which questions a
// candidate chooses among, and how many of them are answered. The card
// keeps the groups in its blocks; the dialog edits them as a list.

#include "app/steps/framingstep.h"
#include "app/steps/procedurecontroller.h"

#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "widgets/dialogs/optionalassociatepanel.h"

bool ProcedureController::associateOptional()
{
    FramingCall call(overlayHost(), FramingCall::RaiseNow);
    OptionalAssociatePanel dialog(call.messageParent());
    dialog.setMaxGroupCount(maxOptionalGroups);
    dialog.setMaxPerGroup(maxOptionalPerGroup);
    dialog.setAssociations(answerSheet.optionalGroups());
    if (dialog.exec() != EIDialog::Ok)
        return false;
    // An OK that leaves no group associates nothing: the card keeps what
    // it had and the association is still to be done.
    const OptionalGroupList groups = dialog.associations();
    if (groups.isEmpty())
        return false;
    answerSheet.setOptionalGroups(groups);
    return true;
}
