#include "TFrSearchLotNo.h"
#include "PagedQueryModel.h"
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableView>

TFrSearchLotNo::TFrSearchLotNo(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหา Lot No."));
    LbCode->setText(QStringLiteral("หมายเลข Lot"));
    auto *row = new QHBoxLayout;
    auto *lbDesc = new QLabel(QStringLiteral("รายละเอียด"), this);
    EdDescription = new QLineEdit(this);
    EdDescription->setObjectName(QStringLiteral("EdDescription"));
    lbDesc->setBuddy(EdDescription);
    auto *lbExp = new QLabel(QStringLiteral("วันที่หมดอายุ"), this);
    CbCondition = new QComboBox(this);
    CbCondition->setObjectName(QStringLiteral("CbCondition"));
    CbCondition->addItems({QStringLiteral("<="), QStringLiteral("="), QStringLiteral(">="), QStringLiteral("-")});
    EdExpiredDate = new QDateEdit(QDate::currentDate(), this);
    EdExpiredDate->setObjectName(QStringLiteral("EdExpiredDate"));
    EdExpiredDate->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    EdExpiredDate->setCalendarPopup(true);
    row->addWidget(lbDesc);
    row->addWidget(EdDescription, 1);
    row->addWidget(lbExp);
    row->addWidget(CbCondition);
    row->addWidget(EdExpiredDate);
    FilterArea->addLayout(row);
    setTabOrder(Code, EdDescription);
    setTabOrder(EdDescription, CbCondition);
    setTabOrder(CbCondition, EdExpiredDate);
    connect(CbCondition, &QComboBox::currentIndexChanged, this, [this](int i) { EdExpiredDate->setEnabled(i >= 0 && i < 3); });
    CbCondition->setCurrentIndex(3);
    EdExpiredDate->setEnabled(false);

    SQL = {QStringLiteral("Select Id, Code, Description, ExpiredDate, HasExpired From LotNo"), QStringLiteral("Where 1 = 1"),
           QStringLiteral("Order By Code")};
    setGridColumns({{QStringLiteral("Code"), QStringLiteral("หมายเลข Lot")},
                    {QStringLiteral("Description"), QStringLiteral("รายละเอียด")},
                    {QStringLiteral("ExpiredDate"), QStringLiteral("วันที่หมดอายุ")}});
    // A title chooses the order of the next search, it does not search.
    disconnect(DgSearch->horizontalHeader(), &QHeaderView::sectionClicked, this, nullptr);
    connect(DgSearch->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFrSearchLotNo::titleClicked);
}

void TFrSearchLotNo::FormShow()
{
    KeyFieldName = QStringLiteral("Code");
    ReturnId = 0;
}

void TFrSearchLotNo::titleClicked(int column)
{
    const QString name = result()->record().fieldName(column);
    for (const char *c : {"Code", "Description", "ExpiredDate"})
        if (name.compare(QLatin1String(c), Qt::CaseInsensitive) == 0)
            OrderColumn = QLatin1String(c);
}

void TFrSearchLotNo::prepareSearch()
{
    SQL.last() = QStringLiteral("Order By ") + OrderColumn;
    Conditions.clear();
    const QString code = Code->text().trimmed();
    if (!code.isEmpty())
        Conditions.add(QStringLiteral("Code Like ?"), {code + QLatin1Char('%')});
    const QString desc = EdDescription->text().trimmed();
    if (!desc.isEmpty())
        Conditions.add(QStringLiteral("Description Like ?"), {desc + QLatin1Char('%')});
    const QString op = CbCondition->currentText();
    if (op == QLatin1String("<=") || op == QLatin1String("=") || op == QLatin1String(">="))
        Conditions.add(QStringLiteral("(ExpiredDate ") + op + QStringLiteral(" ?) Or (HasExpired = 'N')"), {EdExpiredDate->date()});
}

void TFrSearchLotNo::done(int r)
{
    const qint64 id = r == Accepted ? currentValue(QStringLiteral("Id")).toLongLong() : 0;
    TFrSearch::done(r);
    ReturnId = ReturnValue.isEmpty() ? 0 : id;
}

QHash<QString, QString> TFrSearchLotNo::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหา Lot No."), QStringLiteral("Search Lot No.")},
        {QStringLiteral("หมายเลข Lot"), QStringLiteral("Lot No.")},
        {QStringLiteral("รายละเอียด"), QStringLiteral("Description")},
        {QStringLiteral("วันที่หมดอายุ"), QStringLiteral("Expiry Date")},
    };
}
