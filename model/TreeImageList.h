#pragma once
// A list of images of one size, such as a diagram's Images list from which
// nodes may take their picture (ImageListIndex).

#include "core/Component.h"

#include <QImage>
#include <vector>

class TImageList : public TComponent
{
    DX_OBJECT(TImageList)
public:
    explicit TImageList(TComponent *owner = nullptr) : TComponent(owner) {}

    int Count() const { return static_cast<int>(FImages.size()); }
    // The image at a position; a null image outside the list.
    QImage Image(int index) const
    {
        return index >= 0 && index < Count() ? FImages[static_cast<size_t>(index)] : QImage();
    }
    int Add(const QImage &image)
    {
        FImages.push_back(image);
        return Count() - 1;
    }
    void Clear() { FImages.clear(); }

private:
    std::vector<QImage> FImages;
};

inline const TClassInfo &TImageList::StaticClassInfo()
{
    static const TClassInfo info("TImageList", &TComponent::StaticClassInfo());
    return info;
}
