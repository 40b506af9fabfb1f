#pragma once
// The key codes and cursor codes diagram files store, and the platform's
// keys and cursors they stand for: one table each, used both ways.
//
// A stored shortcut is a virtual-key code in its low byte with the shift
// (0x2000), control (0x4000) and alt (0x8000) flags above it, as in
// TextEditor.ShortCut (113: F2).

#include "core/NameTables.h"

#include <QCursor>
#include <QKeySequence>

namespace TreeInput {

constexpr int kShortCutShift = 0x2000;
constexpr int kShortCutCtrl = 0x4000;
constexpr int kShortCutAlt = 0x8000;

// The platform key of a virtual-key code; Qt::Key_unknown for a code that
// names no key. Keypad digits and operators come with `keypad` set.
Qt::Key KeyOfVirtualKey(int code, bool *keypad = nullptr);
// The virtual-key code of a platform key (with the keypad flag of its
// event); 0 for a key without one.
int VirtualKeyOf(int key, bool keypad = false);

// A stored shortcut as a key sequence; empty when its code names no key
// (the stored value stays as it is and does nothing).
QKeySequence ShortCutToKeySequence(int shortCut);
// The stored form of a key sequence's first key; 0 when it has none.
int KeySequenceToShortCut(const QKeySequence &sequence);
// Whether a key press (key, modifiers) is the stored shortcut.
bool MatchesShortCut(int shortCut, int key, Qt::KeyboardModifiers modifiers);

// The platform cursor of a cursor code (crDefault and unknown codes: the
// arrow).
Qt::CursorShape CursorShapeOf(TCursor code);

} // namespace TreeInput
