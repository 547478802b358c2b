#pragma once
#include "TFaGet.h"

// Provinces (Misc group CITY); empty allowed.
class TFaGetProvince : public TFaGetBase
{
    Q_OBJECT
public:
    explicit TFaGetProvince(QWidget *parent = nullptr);

protected:
    TFrSearch *createLookup() override;
};
