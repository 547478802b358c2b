#pragma once
#include "TFrSearch.h"

// Salesmen with their department by code, name and surname. Kept by its frame
// between showings; every showing starts afresh.
class TF_SearchSalesman : public TFrSearch
{
    Q_OBJECT
public:
    explicit TF_SearchSalesman(QWidget *parent = nullptr);

    QLineEdit *EdName = nullptr;
    QLineEdit *EdSurname = nullptr;
    // The column of the next search's order; a title click chooses it.
    QString OrderColumn = QStringLiteral("S.Code");

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;

private:
    void titleClicked(int column);
};
