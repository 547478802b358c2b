#pragma once
#include "TFrSearch.h"

// Users of the configuration database by full name; inactive users show red.
class TFrSearchUser : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchUser(QWidget *parent = nullptr);

protected:
    Connection &connection() override;
    void FormShow() override;
    void prepareSearch() override;
};
