#pragma once
#include "TFrSearch.h"

class QComboBox;

// Product units by barcode (prefix) or product name, with each product's stock of
// the server's current year and its back-order, both in the smallest unit.
class TFrSearchBarCode : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchBarCode(QWidget *parent = nullptr);

    QLineEdit *EdName = nullptr;
    QComboBox *CbMethod = nullptr; // 0: starts with, 1: contains
    bool IncludeBlocked = false;

    // "1,234.50  ชิ้น": the figure as money text, two spaces and the unit's name.
    static QString figureText(const QVariant &quantity, const QString &unit);

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;

private:
    void titleClicked(int column);
};
