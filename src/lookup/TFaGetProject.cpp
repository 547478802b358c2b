#include "TFaGetProject.h"
#include "TCodeLookupEdit.h"
#include "TFrSearchProject.h"
#include "services/TDM.h"
#include <QLabel>
#include <QSqlQuery>
#include <QToolButton>

TFaGetProject::TFaGetProject(QWidget *parent) : TFaGetBase(parent)
{
    setCaption(QStringLiteral("รหัสโครงการ"));
    BtSearch->setToolTip(QStringLiteral("ค้นหารหัสโครงการ"));
    EdCode->K_LookupTableName = QStringLiteral("Project");
    EdCode->K_LookupIDField = QStringLiteral("Id");
    EdCode->K_LookupEditField = QStringLiteral("CODE");
    EdCode->K_DescriptionField = QStringLiteral("Description");
    EdCode->K_Filter = QStringLiteral("Blocked = 'N'");
    EdCode->K_AllowNull = true;
    connect(this, &TFaGetBase::codeChanged, this, [this](qint64 id) {
        if (id <= 0) {
            ProjectId = 0;
            ProjectCode.clear();
            ProjectName.clear();
        }
    });
}

TFrSearch *TFaGetProject::createLookup()
{
    auto *d = new TFrSearchProject(window());
    d->HideBlocked = true;
    return d;
}

bool TFaGetProject::checkOnExit(qint64 id)
{
    ProjectId = 0;
    ProjectCode.clear();
    ProjectName.clear();
    QSqlQuery q = TDM::instance()->DMDATA().exec(QStringLiteral("Select Id, Code, Description From Project Where Code = :c"),
                                                 {{QStringLiteral("c"), code()}});
    if (!q.next() || q.value(0).toLongLong() != id) {
        LbName->setText(QStringLiteral("-"));
        return false;
    }
    ProjectId = id;
    ProjectCode = dbText(q.value(1)).trimmed();
    ProjectName = dbText(q.value(2));
    return true;
}
