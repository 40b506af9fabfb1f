#pragma once
// A shape with two proportions of its bounds, PercentHoriz percent of the
// width and PercentVert percent of the height, each with its published
// default: the punched card's cut corner, the cross's arms, the arrows'
// shafts and heads.

#include "model/CustomTreeShape.h"

template <class Base, int DefaultHoriz, int DefaultVert>
class TPercentShape : public Base
{
public:
    using Base::Base;

    int PercentHoriz() const { return FPercentHoriz; }
    void SetPercentHoriz(int value) { this->Update(FPercentHoriz, value); }
    int PercentVert() const { return FPercentVert; }
    void SetPercentVert(int value) { this->Update(FPercentVert, value); }

    void Assign(const TPersistent *source) override
    {
        if (const auto *s = dynamic_cast<const TPercentShape *>(source)) {
            SetPercentHoriz(s->FPercentHoriz);
            SetPercentVert(s->FPercentVert);
        }
        Base::Assign(source);
    }

protected:
    // The two published properties, for the class information of N.
    template <class N>
    static TClassInfo Declare(const char *name, const TClassInfo &parent)
    {
        return TClassBuilder<N>(name, parent)
            .Integer("PercentHoriz", &N::PercentHoriz, &N::SetPercentHoriz, DefaultHoriz)
            .Integer("PercentVert", &N::PercentVert, &N::SetPercentVert, DefaultVert);
    }

    int FPercentHoriz = DefaultHoriz;
    int FPercentVert = DefaultVert;
};
