#include "model/TreeImagePool.h"

#include "model/ModelResources.h"

#include <QImage>

namespace {
const char *const kResourceNames[TTreeImagePool::kSlotCount] = {
    nullptr,                 // tiNone
    "TREEFLDCLOSE",          // tiFolderClose
    "TREEFLDOPEN",           // tiFolderOpen
    "TREEDESKTOP",           // tiDesktop
    "TREEMYPC",              // tiMyPC
    "TREENETWORKNEI",        // tiNetworkNei
    "TREEFLOPPY3",           // tiFloppy3
    "TREERECYCLEBIN",        // tiRecycleBin
    "TREEHARDDISK",          // tiHardDisk
    "TREENETSHARE",          // tiNetShare
    "TREECOMPUTER",          // tiComputer
    "TREEWORLD",             // tiWorld
    nullptr,                 // tiFolderOpenClose
    "TREEFLDCLOSECHECKED",   // tiFolderCloseChecked
    "TREEFLDCLOSEUNCHECK",   // tiFolderCloseUnChecked
    "TREECHECKED",           // tiChecked
    "TREEUNCHECKED",         // tiUnChecked
    "TREERADIOCHECKED",      // tiRadioChecked
    "TREERADIOUNCHECKED",    // tiRadioUnChecked
    "TREEFLDRADIOCHECKED",   // tiFolderRadioChecked
    "TREEFLDRADIOUNCHECKED", // tiFolderRadioUnChecked
};
} // namespace

TTreeImagePool &TTreeImagePool::Instance()
{
    InitModelResources();
    static TTreeImagePool pool;
    return pool;
}

QString TTreeImagePool::ResourceName(int index)
{
    if (index < 0 || index >= kSlotCount || !kResourceNames[index])
        return QString();
    return QString::fromLatin1(kResourceNames[index]);
}

QString TTreeImagePool::ResourcePath(int index)
{
    const QString name = ResourceName(index);
    return name.isEmpty() ? QString() : QStringLiteral(":/dendrix/images/") + name + QStringLiteral(".bmp");
}

const TPicture *TTreeImagePool::Picture(int index)
{
    if (index < 0 || index >= kSlotCount || !kResourceNames[index])
        return nullptr;
    if (!FTried[index]) {
        FTried[index] = true;
        const QImage image(ResourcePath(index));
        if (!image.isNull()) {
            auto picture = std::make_unique<TPicture>();
            picture->SetImage(image);
            // The top-left pixel's colour is the transparent one.
            picture->SetTransparentColor(clDefault);
            picture->SetTransparent(true);
            FSlots[index] = std::move(picture);
        }
    }
    return FSlots[index].get();
}
