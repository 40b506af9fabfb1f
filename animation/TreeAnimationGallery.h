#pragma once
// The gallery of animation kinds ("Animations"): the kinds by caption in
// alphabetical order (the custom pause is not offered), each previewed on a
// small diagram while it is selected. OK is enabled once a kind is chosen;
// a double click chooses and closes.

#include <QDialog>
#include <memory>

class QDialogButtonBox;
class QListWidget;
class TAnimation;
class TComponent;
class TTree;
class TTreeAnimate;
struct TAnimationClass;

class TTreeAnimationGallery : public QDialog
{
    Q_OBJECT
public:
    explicit TTreeAnimationGallery(QWidget *parent = nullptr);
    ~TTreeAnimationGallery() override;

    // The kind chosen; null when none is.
    const TAnimationClass *Chosen() const;
    QListWidget *List() const { return FList; }
    QDialogButtonBox *Buttons() const { return FButtons; }
    TTree *Preview() const { return FPreview; }
    TTreeAnimate *PreviewPlayer() const { return FPlayer.get(); }
    // Selects the kind with this caption (tests, keyboard).
    bool SelectCaption(const QString &caption);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ShowPreview();

    std::unique_ptr<TComponent> FHost;
    QListWidget *FList;
    QDialogButtonBox *FButtons;
    TTree *FPreview;
    std::unique_ptr<TTreeAnimate> FPlayer;
};
