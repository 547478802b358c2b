#pragma once
#include "TFrSearch.h"

class QComboBox;
class TFaSelectProdAttr;

// Products by code (prefix) and Thai name (prefix or contains), with attribute
// ranges; blocked and master products are never offered. Returns the code.
class TF_SearchProduct : public TFrSearch
{
    Q_OBJECT
public:
    explicit TF_SearchProduct(QWidget *parent = nullptr);

    QLineEdit *EdName = nullptr;
    QComboBox *CbMethod = nullptr; // 0: starts with, 1: contains
    TFaSelectProdAttr *FaAttr = nullptr;

    static QString blankMessage();

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    bool canSearch() override;
    void prepareSearch() override;

private:
    void titleClicked(int column);
};
