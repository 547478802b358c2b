#include "TDMConfig.h"
#include "ErrorMail.h"
#include "core/Workstation.h"
#include "db/ServerProcedures.h"

void TDMConfig::LogError(const QString &message)
{
    ServerProc::AddErrorLog(*m_cfg, GetComputerNameText(), GetWindowsUserName(), UserId, MenuId, message);
}

void TDMConfig::SendErrorMail(const QString &subject, const QString &body)
{
    // The report is a courtesy: whatever goes wrong here, the user is not bothered
    // with it and nothing is logged.
    try {
        sendMail(MailSettings::load(), subject, body);
    } catch (...) {
    }
}
