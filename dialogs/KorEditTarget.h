#pragma once
// Where an object a dialog edits lives: an element of a diagram and the
// published path from the element to the object ("Border", "ArrowTo.Brush",
// "Font.Shadow"). Every change a dialog makes goes through Edit, which runs
// it between the diagram's change notices naming the element and the
// changed property, so it marks the document modified and can be undone.
// Without a diagram (an object that belongs to none, a pen of a dialog's
// own sample) the change simply runs.

#include <QString>
#include <functional>

class TComponent;
class TTreeDocument;

class TEditTarget
{
public:
    TEditTarget() = default;
    TEditTarget(TTreeDocument *tree, TComponent *element, const QString &path = QString())
        : FTree(tree), FElement(element), FPath(path)
    {
    }
    // The element's own diagram (none when it belongs to none).
    static TEditTarget Of(TComponent *element, const QString &path = QString());

    TTreeDocument *Tree() const { return FTree; }
    TComponent *Element() const { return FElement; }
    const QString &Path() const { return FPath; }
    bool InDiagram() const { return FTree && FElement; }

    // The path of a property of the edited object ("Width" gives
    // "Border.Width"; empty gives the object's own path).
    QString PropertyPath(const QString &property) const;
    // The target of a sub-object ("Shadow" of "Font" gives "Font.Shadow").
    TEditTarget Sub(const QString &name) const { return TEditTarget(FTree, FElement, PropertyPath(name)); }

    // Runs a change of `property` of the edited object with its notices.
    void Edit(const QString &property, const std::function<void()> &change) const;

private:
    TTreeDocument *FTree = nullptr;
    TComponent *FElement = nullptr;
    QString FPath;
};
