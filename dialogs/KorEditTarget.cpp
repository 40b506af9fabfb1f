#include "dialogs/KorEditTarget.h"

#include "model/TreeDocument.h"

TEditTarget TEditTarget::Of(TComponent *element, const QString &path)
{
    auto *tree = element ? dynamic_cast<TCustomTreeElement *>(element) : nullptr;
    return TEditTarget(tree ? tree->Tree() : nullptr, element, path);
}

QString TEditTarget::PropertyPath(const QString &property) const
{
    if (FPath.isEmpty())
        return property;
    if (property.isEmpty())
        return FPath;
    return FPath + QLatin1Char('.') + property;
}

void TEditTarget::Edit(const QString &property, const std::function<void()> &change) const
{
    if (InDiagram())
        FTree->EditElement(FElement, PropertyPath(property), change);
    else
        change();
}
