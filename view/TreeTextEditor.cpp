// In-place text editing: the settings, the edit control, and the diagram's
// steps that start and end editing.

#include "view/TreeTextEditor.h"

#include "core/Rounding.h"
#include "view/CustomTree.h"
#include "view/TreeInputMaps.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

// Hands the edit control's keys to the diagram before the control sees
// them.
class TEditKeys : public QObject
{
public:
    TEditKeys(QObject *parent, std::function<bool(int, Qt::KeyboardModifiers)> onKey)
        : QObject(parent), FOnKey(std::move(onKey))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && FOnKey) {
            auto *k = static_cast<QKeyEvent *>(event);
            if (FOnKey(k->key(), k->modifiers()))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(int, Qt::KeyboardModifiers)> FOnKey;
};

} // namespace

const TClassInfo &TTreeTextEditor::StaticClassInfo()
{
    using E = TTreeTextEditor;
    static const TClassInfo info = TClassBuilder<E>("TTreeTextEditor", TGraphicsObject::StaticClassInfo())
                                       .Boolean("Enabled", &E::Enabled, &E::SetEnabled, true)
                                       .Enum("Mode", &E::Mode, &E::SetMode, tteKey)
                                       .Enum("MouseButton", &E::MouseButton, &E::SetMouseButton, mbLeft)
                                       .Integer("ShortCut", &E::ShortCut, &E::SetShortCut, 113)
                                       .Boolean("UseNodeFont", &E::UseNodeFont, &E::SetUseNodeFont, false)
                                       .Boolean("UseNodeFormat", &E::UseNodeFormat, &E::SetUseNodeFormat, false)
                                       .Boolean("UseNodeSize", &E::UseNodeSize, &E::SetUseNodeSize, true);
    return info;
}

TTreeTextEditor::TTreeTextEditor() = default;

TTreeTextEditor::~TTreeTextEditor() = default;

QPlainTextEdit *TTreeTextEditor::Edit() const
{
    return FEdit.data();
}

QPlainTextEdit *TTreeTextEditor::EnsureEdit(QWidget *parent, std::function<bool(int, Qt::KeyboardModifiers)> onKey)
{
    if (!FEdit) {
        // Owned by the diagram's window.
        auto *edit = new QPlainTextEdit(parent);
        edit->setObjectName(QStringLiteral("TextEditor"));
        edit->hide();
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->installEventFilter(new TEditKeys(edit, std::move(onKey)));
        FEdit = edit;
    }
    return FEdit.data();
}

void TTreeTextEditor::Assign(const TPersistent *source)
{
    auto *s = dynamic_cast<const TTreeTextEditor *>(source);
    if (!s) {
        TGraphicsObject::Assign(source);
        return;
    }
    SetEnabled(s->FEnabled);
    SetMode(s->FMode);
    SetMouseButton(s->FMouseButton);
    SetShortCut(s->FShortCut);
    SetUseNodeSize(s->FUseNodeSize);
    SetUseNodeFormat(s->FUseNodeFormat);
    SetUseNodeFont(s->FUseNodeFont);
}

// ---------------------------------------------------------------------------
// The diagram's side

bool TCustomTree::Editing() const
{
    return FEditedShape != nullptr;
}

bool TCustomTree::StartEditing(TTreeNodeShape *shape)
{
    if (!shape || !Shapes().Contains(shape))
        return false;
    if (FEditedShape)
        StopEditing(true);
    QPlainTextEdit *edit = FTextEditor->EnsureEdit(this, [this](int key, Qt::KeyboardModifiers mods) {
        if (key == Qt::Key_Escape) {
            StopEditing(false);
            return true;
        }
        if (TreeInput::MatchesShortCut(FTextEditor->ShortCut(), key, mods)) {
            StopEditing(true);
            return true;
        }
        return false;
    });
    FEditedShape = shape;
    edit->hide();
    const TPoint o = DrawOffset();
    const TPoint topLeft = ProjectPoint(TPoint(shape->X0() + o.X, shape->Y0() + o.Y));
    edit->move(topLeft.ToQPoint());
    QStringList lines;
    for (int i = 0; i < shape->LineCount(); ++i)
        lines << shape->Line(i);
    edit->setPlainText(lines.join(QLatin1Char('\n')));
    edit->selectAll();
    edit->setFrameStyle(QFrame::Box | QFrame::Plain);
    bool allow = true;
    Fire(OnStartEditing, shape, allow);
    if (!allow || FEditedShape != shape) {
        edit->hide();
        if (FEditedShape == shape)
            FEditedShape = nullptr;
        return false;
    }
    if (FTextEditor->UseNodeSize()) {
        const double z = View3DOptions()->Zoom() / 100.0;
        const auto scaled = [z](int units, int least) {
            return static_cast<int>(std::clamp<long long>(dx::RoundEvenWide(units * z), least, 1 << 15));
        };
        edit->resize(scaled(shape->Width(), 10), scaled(shape->Height(), 5));
    } else {
        edit->resize(edit->sizeHint());
    }
    QPalette palette = edit->palette();
    if (FTextEditor->UseNodeFormat()) {
        const TChartPen *border = shape->EffectiveBorder();
        edit->setFrameStyle(border && border->Visible() ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        palette.setColor(QPalette::Base, ToQColor(ColorToRGB(shape->EffectiveBrush()->Color())));
    } else {
        palette = QPalette();
    }
    edit->setPalette(palette);
    edit->setFont(FTextEditor->UseNodeFont() ? shape->EffectiveFont()->ToQFont() : QFont());
    edit->show();
    edit->raise();
    edit->setFocus(Qt::OtherFocusReason);
    return true;
}

void TCustomTree::StopEditing(bool save)
{
    TTreeNodeShape *shape = FEditedShape;
    if (!shape)
        return;
    FEditedShape = nullptr;
    QPlainTextEdit *edit = FTextEditor->Edit();
    if (save && edit && Shapes().Contains(shape)) {
        QStringList lines = edit->toPlainText().split(QLatin1Char('\n'));
        // A last line break makes no empty line.
        if (lines.size() > 1 && lines.last().isEmpty())
            lines.removeLast();
        if (lines.size() == 1 && lines.first().isEmpty())
            lines.clear();
        TTreeStep step(this, QStringLiteral("Edit text"));
        SetElementText(shape, lines);
    }
    if (edit)
        edit->hide();
    if (!FDestroying)
        setFocus(Qt::OtherFocusReason);
    if (Shapes().Contains(shape))
        Fire(OnStopEditing, shape);
}

bool TCustomTree::StartEditingByMouse(TMouseButton button, int x, int y)
{
    if (ReadOnly() || !FTextEditor->Enabled() || button != FTextEditor->MouseButton() || !FTextEditor->MouseMode())
        return false;
    for (TTreeNodeShape *node : Selected().Nodes())
        if (node->PointInShape(x, y))
            return StartEditing(node);
    return false;
}

bool TCustomTree::StartEditingByKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!TreeInput::MatchesShortCut(FTextEditor->ShortCut(), key, modifiers))
        return false;
    if (ReadOnly() || !FTextEditor->Enabled() || !FTextEditor->KeyMode() || !Selected().First())
        return true;
    StartEditing(Selected().First());
    return true;
}

