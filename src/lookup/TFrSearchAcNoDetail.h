#pragma once
#include "TFrSearch.h"

// Accounts of the chart from a code on, by Thai or English name.
class TFrSearchAcNoDetail : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchAcNoDetail(QWidget *parent = nullptr);

    // " " every account, "D" detail accounts (no group accounts), "G" no detail accounts.
    QString AcType = QStringLiteral("D");

    QLineEdit *EdNameThai = nullptr;
    QLineEdit *EdNameEng = nullptr;

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;
};
