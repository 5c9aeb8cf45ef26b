#include "script/Script_Report.h"

#include "pal/PAL_ErrorReport.h"

namespace Script
{

void ReportScriptError(const std::string& text)
{
    PAL::ShowMessageBox("Script Error", text, PAL::KindError, PAL::ButtonsOk);
}

} // namespace Script
