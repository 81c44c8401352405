#include "app/SelkDoc.h"

#include "dialogs/ProgramMessage.h"
#include "operations/OperationLists.h"

#include <QCoreApplication>

bool CSelkDoc::CanCloseFrame(QWidget* frame) const
{
    if (OperationStatusList.Count() == 0)
        return true;
    ShowProgramMessage(frame,
                       QCoreApplication::translate("CSelkDoc", "There are some operations still active.\n"
                                                               "If you want to exit you have to cancel them."));
    return false;
}
