#include "TF_SearchSalesman.h"
#include "PagedQueryModel.h"
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableView>

TF_SearchSalesman::TF_SearchSalesman(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหาพนักงานขาย"));
    auto *row = new QHBoxLayout;
    auto *lbName = new QLabel(QStringLiteral("ชื่อ"), this);
    EdName = new QLineEdit(this);
    EdName->setObjectName(QStringLiteral("EdName"));
    lbName->setBuddy(EdName);
    auto *lbSur = new QLabel(QStringLiteral("นามสกุล"), this);
    EdSurname = new QLineEdit(this);
    EdSurname->setObjectName(QStringLiteral("EdSurname"));
    lbSur->setBuddy(EdSurname);
    row->addWidget(lbName);
    row->addWidget(EdName, 1);
    row->addWidget(lbSur);
    row->addWidget(EdSurname, 1);
    FilterArea->addLayout(row);
    setTabOrder(EdName, EdSurname);
    setTabOrder(EdSurname, Code);

    SQL = {QStringLiteral("Select S.Id, S.Code, S.Name, S.Surname, M.Description From Salesman S"),
           QStringLiteral("Join Misc M On M.GroupCode = 'DEPARTMENT' And M.Id = S.Department"), QStringLiteral("Where 1 = 1"),
           QStringLiteral("Order By S.Code")};
    setGridColumns({{QStringLiteral("Name"), QStringLiteral("ชื่อ")},
                    {QStringLiteral("Surname"), QStringLiteral("นามสกุล")},
                    {QStringLiteral("Code"), QStringLiteral("รหัส")},
                    {QStringLiteral("Description"), QStringLiteral("ชื่อแผนก")}});
    disconnect(DgSearch->horizontalHeader(), &QHeaderView::sectionClicked, this, nullptr);
    connect(DgSearch->horizontalHeader(), &QHeaderView::sectionClicked, this, &TF_SearchSalesman::titleClicked);
}

void TF_SearchSalesman::FormShow()
{
    KeyFieldName = QStringLiteral("Code");
    OrderColumn = QStringLiteral("S.Code");
    EdName->clear();
    EdSurname->clear();
    EdName->setFocus();
}

void TF_SearchSalesman::titleClicked(int column)
{
    const QString name = result()->record().fieldName(column).toUpper();
    if (name == QLatin1String("CODE"))
        OrderColumn = QStringLiteral("S.Code");
    else if (name == QLatin1String("NAME"))
        OrderColumn = QStringLiteral("S.Name");
    else if (name == QLatin1String("SURNAME"))
        OrderColumn = QStringLiteral("S.SurName");
    else if (name == QLatin1String("DESCRIPTION"))
        OrderColumn = QStringLiteral("M.Description");
}

void TF_SearchSalesman::prepareSearch()
{
    SQL.last() = QStringLiteral("Order By ") + OrderColumn;
    Conditions.clear();
    const QString code = Code->text().trimmed();
    if (!code.isEmpty())
        Conditions.add(QStringLiteral("S.Code Like ?"), {code + QLatin1Char('%')});
    const QString name = EdName->text().trimmed();
    if (!name.isEmpty())
        Conditions.add(QStringLiteral("S.Name Like ?"), {QLatin1Char('%') + name + QLatin1Char('%')});
    const QString sur = EdSurname->text().trimmed();
    if (!sur.isEmpty())
        Conditions.add(QStringLiteral("S.Surname Like ?"), {QLatin1Char('%') + sur + QLatin1Char('%')});
}

QHash<QString, QString> TF_SearchSalesman::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหาพนักงานขาย"), QStringLiteral("Search Salesman")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
        {QStringLiteral("ชื่อ"), QStringLiteral("Name")},
        {QStringLiteral("นามสกุล"), QStringLiteral("Surname")},
        {QStringLiteral("ชื่อแผนก"), QStringLiteral("Department")},
    };
}
