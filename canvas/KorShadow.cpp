#include "canvas/KorShadow.h"

const TClassInfo &TKorShadow::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TKorShadow>("TKorShadow", TGraphicsObject::StaticClassInfo())
                                       .Color("Color", &TKorShadow::Color, &TKorShadow::SetColor, clSilver)
                                       .Integer("HorizSize", &TKorShadow::HorizSize, &TKorShadow::SetHorizSize, 0)
                                       .Integer("VertSize", &TKorShadow::VertSize, &TKorShadow::SetVertSize, 0);
    return info;
}

void TKorShadow::Assign(const TPersistent *source)
{
    if (auto *s = dynamic_cast<const TKorShadow *>(source)) {
        if (FColor == s->FColor && FHorizSize == s->FHorizSize && FVertSize == s->FVertSize)
            return;
        FColor = s->FColor;
        FHorizSize = s->FHorizSize;
        FVertSize = s->FVertSize;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}
