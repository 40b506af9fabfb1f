#pragma once
// In-place editing of a node's text: the settings published as the
// diagram's TextEditor, and the multi-line edit control, made on first use
// and kept for the next time.
//
// Editing starts by the ShortCut key (Mode tteKey or tteBoth) or a press
// of MouseButton on a selected node (tteMouse or tteBoth), or by
// TCustomTree::StartEditing; in the control Escape ends it without saving
// and the ShortCut key with saving, as does any change of the selection.

#include "canvas/GraphicsObject.h"
#include "core/InputTypes.h"

#include <QPointer>
#include <functional>

class QPlainTextEdit;
class QWidget;

DX_ENUM(TTreeTextEditorMode, tteKey, tteMouse, tteBoth)

class TTreeTextEditor : public TGraphicsObject
{
    DX_OBJECT(TTreeTextEditor)
public:
    TTreeTextEditor();
    ~TTreeTextEditor() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { Update(FEnabled, v); }
    TTreeTextEditorMode Mode() const { return FMode; }
    void SetMode(TTreeTextEditorMode v) { Update(FMode, v); }
    TMouseButton MouseButton() const { return FMouseButton; }
    void SetMouseButton(TMouseButton v) { Update(FMouseButton, v); }
    // A stored key code with its shift flags (view/TreeInputMaps.h); 113 is
    // F2. A code that names no key is kept and starts nothing.
    int ShortCut() const { return FShortCut; }
    void SetShortCut(int v) { Update(FShortCut, v); }
    // The control takes the node's size (at the zoom), its colour and
    // border, its font.
    bool UseNodeSize() const { return FUseNodeSize; }
    void SetUseNodeSize(bool v) { Update(FUseNodeSize, v); }
    bool UseNodeFormat() const { return FUseNodeFormat; }
    void SetUseNodeFormat(bool v) { Update(FUseNodeFormat, v); }
    bool UseNodeFont() const { return FUseNodeFont; }
    void SetUseNodeFont(bool v) { Update(FUseNodeFont, v); }

    bool KeyMode() const { return FMode == tteKey || FMode == tteBoth; }
    bool MouseMode() const { return FMode == tteMouse || FMode == tteBoth; }

    // The edit control; null until the first editing.
    QPlainTextEdit *Edit() const;
    // Makes it on `parent` when there is none yet; keys go to `onKey` first
    // (answering whether it took the key).
    QPlainTextEdit *EnsureEdit(QWidget *parent, std::function<bool(int key, Qt::KeyboardModifiers)> onKey);

    // Copies the settings (not the control).
    void Assign(const TPersistent *source) override;

private:
    QPointer<QPlainTextEdit> FEdit;
    TTreeTextEditorMode FMode = tteKey;
    TMouseButton FMouseButton = mbLeft;
    int FShortCut = 113;
    bool FEnabled = true;
    bool FUseNodeSize = true;
    bool FUseNodeFormat = false;
    bool FUseNodeFont = false;
};
