#pragma once
// The base of every diagram element (nodes and connections) and the text
// object an element's lines live in.

#include "canvas/CanvasTypes.h"
#include "canvas/KorFont.h"
#include "core/Component.h"
#include "core/NameTables.h"
#include "model/TreeTypes.h"

#include <QStringList>
#include <memory>

class TCustomTreeElement;
template <class T, class Slot>
class TElementList;
struct TListSlot;

// The lines of an element's text with their layout. Every real change of a
// line or a property calls the element's Changed.
class TTreeStrings : public TPersistent
{
    DX_OBJECT(TTreeStrings)
public:
    // The vertical alignment starts as the element's default one.
    explicit TTreeStrings(TCustomTreeElement *element = nullptr);

    TCustomTreeElement *Element() const { return FElement; }

    // The lines.
    int Count() const { return FLines.size(); }
    QString Strings(int index) const { return index >= 0 && index < FLines.size() ? FLines.at(index) : QString(); }
    QString operator[](int index) const { return Strings(index); }
    const QStringList &Lines() const { return FLines; }
    void SetLines(const QStringList &lines);
    void SetStrings(int index, const QString &line);
    int Add(const QString &line);
    void Insert(int index, const QString &line);
    void Delete(int index);
    void Clear();
    // All lines joined with line breaks; setting splits at "\r\n", "\n" or
    // "\r".
    QString Text() const { return FLines.join(QLatin1Char('\n')); }
    void SetText(const QString &text);

    // The setter keeps the angle in 0 .. 359.
    int Angle() const { return FAngle; }
    void SetAngle(int value);
    bool ClipText() const { return FClipText; }
    void SetClipText(bool value) { Update(FClipText, value); }
    THorizTextAlign HorizAlign() const { return FHorizAlign; }
    void SetHorizAlign(THorizTextAlign value) { Update(FHorizAlign, value); }
    int HorizOffset() const { return FHorizOffset; }
    // Offsets stay within the coordinate range (CanvasTypes.h).
    void SetHorizOffset(int value) { Update(FHorizOffset, ClampCoord(value)); }
    uint8_t Transparency() const { return FTransparency; }
    void SetTransparency(uint8_t value) { Update(FTransparency, std::min<uint8_t>(value, 100)); }
    TVertTextAlign VertAlign() const { return FVertAlign; }
    void SetVertAlign(TVertTextAlign value) { Update(FVertAlign, value); }
    // The element's default alignment (vtaCenter without an element): the
    // one a file need not store.
    TVertTextAlign DefaultVertAlign() const;
    int VertOffset() const { return FVertOffset; }
    void SetVertOffset(int value) { Update(FVertOffset, ClampCoord(value)); }

    // From another text: its lines and properties. From none: the properties
    // go back to their defaults (the element's vertical alignment) and the
    // lines stay.
    void Assign(const TPersistent *source) override;
    // The lines in files: "Strings", a list of strings.
    void DefineProperties(TFiler &filer) override;

private:
    friend class TCustomTreeElement;
    void Changed();
    template <class T>
    void Update(T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }

    TCustomTreeElement *FElement;
    QStringList FLines;
    int FAngle = 0;
    int FHorizOffset = 0;
    int FVertOffset = 0;
    THorizTextAlign FHorizAlign = htaCenter;
    TVertTextAlign FVertAlign = vtaCenter;
    uint8_t FTransparency = 0;
    bool FClipText = false;
};

// Common part of nodes and connections: cursor, user data, font and text,
// and the diagram the element belongs to.
class TCustomTreeElement : public TComponent
{
    DX_OBJECT(TCustomTreeElement)
public:
    explicit TCustomTreeElement(TComponent *owner = nullptr);
    ~TCustomTreeElement() override;

    TTreeDocument *Tree() const { return FTree; }
    // Attaches the element to a diagram or detaches it (null). Nodes and
    // connections keep the diagram's lists up to date.
    virtual void SetTree(TTreeDocument *tree);

    // The element's appearance or geometry changed: the diagram repaints.
    virtual void Changed();

    int Cursor() const { return FCursor; }
    void SetCursor(int value);
    // A free slot for the program using the diagram; never stored.
    void *Data() const { return FData; }
    void SetData(void *data) { FData = data; }

    // The own font, created on first use (a copy of the diagram's default
    // font while the element belongs to a diagram).
    TKorFont *Font();
    TKorFont *PeekFont() const { return FFont.get(); }
    // The font to draw and measure with; never creates one.
    const TKorFont *EffectiveFont() const;
    // Copies a font into the own one; null frees the own font.
    void SetFont(const TKorFont *font);

    // The own text object, created on first use with the simple text as its
    // first line.
    TTreeStrings *Text();
    TTreeStrings *PeekText() const { return FText.get(); }
    // Copies a text object; null frees the own one (its lines are lost).
    void SetText(const TTreeStrings *text);

    // The first line; setting it replaces the first line (or adds one).
    QString SimpleText() const;
    void SetSimpleText(const QString &text);
    // Number of lines: of the text object, else 1 for a non-empty simple
    // text, else 0.
    int LineCount() const;
    // Line `index` (0 .. LineCount() - 1) without creating the text object.
    QString Line(int index) const;

    // Draws the handles of a selected element (the interaction layer).
    virtual void DrawHandles() {}

    // Where the text goes vertically while nobody chose otherwise: without
    // a text object, in a new one and after a reset. A class that puts its
    // text at the top or the bottom answers that; files store only another
    // choice.
    virtual TVertTextAlign DefaultVertAlign() const { return vtaCenter; }

    // Copies Cursor, Data, Font, SimpleText and Text.
    void Assign(const TPersistent *source) override;

    // Files: the lines of an element without a text object are written as
    // "Text.Strings" all the same; "HorizTextAlign" and "VertTextAlign" of
    // older files are read into the text's alignment and never written.
    void DefineProperties(TFiler &filer) override;
    // A read element joins the diagram whose record holds it; anything else
    // cannot hold elements ("Invalid stream format").
    void AttachToParent(TComponent *parent) override;
    // A text object read from a file that holds at most one line and
    // nothing else becomes the simple text again, as the element had it.
    void Loaded() override;

protected:
    // Stores a changed value and reports it.
    template <class T, class V>
    bool Update(T &field, const V &value)
    {
        return UpdateField(field, value, [this] { Changed(); });
    }
    // Sets the simple text and frees the text object without reporting.
    void ResetText(const QString &text);
    // Makes a sub-object report its changes to this element.
    template <class T>
    std::unique_ptr<T> NewPart()
    {
        auto part = std::make_unique<T>();
        part->OnChange = [this](TGraphicsObject *) { Changed(); };
        return part;
    }

    TTreeDocument *FTree = nullptr;

private:
    friend struct TListSlot;
    friend class TTreeDocument;

    std::unique_ptr<TKorFont> FFont;
    std::unique_ptr<TTreeStrings> FText;
    QString FSimpleText;
    void *FData = nullptr;
    int FListSlot = -1; // slot in the diagram's list of nodes or connections
    TCursor FCursor = crDefault;
};
