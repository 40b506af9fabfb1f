#include "view/TreeInputMaps.h"

#include <iterator>

namespace TreeInput {

namespace {

struct TKeyEntry
{
    int Code;
    Qt::Key Key;
    bool Keypad;
};

// Virtual-key codes with a key of their own. Letters (0x41-0x5A), digits
// (0x30-0x39), the keypad digits (0x60-0x69) and the function keys
// (0x70-0x87) are ranges handled beside the table.
const TKeyEntry kKeys[] = {
    {0x03, Qt::Key_Cancel, false},     {0x08, Qt::Key_Backspace, false}, {0x09, Qt::Key_Tab, false},
    {0x0C, Qt::Key_Clear, false},      {0x0D, Qt::Key_Return, false},    {0x10, Qt::Key_Shift, false},
    {0x11, Qt::Key_Control, false},    {0x12, Qt::Key_Alt, false},       {0x13, Qt::Key_Pause, false},
    {0x14, Qt::Key_CapsLock, false},   {0x1B, Qt::Key_Escape, false},    {0x20, Qt::Key_Space, false},
    {0x21, Qt::Key_PageUp, false},     {0x22, Qt::Key_PageDown, false},  {0x23, Qt::Key_End, false},
    {0x24, Qt::Key_Home, false},       {0x25, Qt::Key_Left, false},      {0x26, Qt::Key_Up, false},
    {0x27, Qt::Key_Right, false},      {0x28, Qt::Key_Down, false},      {0x29, Qt::Key_Select, false},
    {0x2A, Qt::Key_Print, false},      {0x2B, Qt::Key_Execute, false},   {0x2C, Qt::Key_SysReq, false},
    {0x2D, Qt::Key_Insert, false},     {0x2E, Qt::Key_Delete, false},    {0x2F, Qt::Key_Help, false},
    {0x5B, Qt::Key_Meta, false},       {0x5D, Qt::Key_Menu, false},      {0x5F, Qt::Key_Sleep, false},
    {0x6A, Qt::Key_Asterisk, true},    {0x6B, Qt::Key_Plus, true},       {0x6C, Qt::Key_Comma, true},
    {0x6D, Qt::Key_Minus, true},       {0x6E, Qt::Key_Period, true},     {0x6F, Qt::Key_Slash, true},
    {0x90, Qt::Key_NumLock, false},    {0x91, Qt::Key_ScrollLock, false}, {0xA6, Qt::Key_Back, false},
    {0xA7, Qt::Key_Forward, false},    {0xA8, Qt::Key_Refresh, false},   {0xA9, Qt::Key_Stop, false},
    {0xAA, Qt::Key_Search, false},     {0xAB, Qt::Key_Favorites, false}, {0xAC, Qt::Key_HomePage, false},
    {0xAD, Qt::Key_VolumeMute, false}, {0xAE, Qt::Key_VolumeDown, false}, {0xAF, Qt::Key_VolumeUp, false},
    {0xB0, Qt::Key_MediaNext, false},  {0xB1, Qt::Key_MediaPrevious, false}, {0xB2, Qt::Key_MediaStop, false},
    {0xB3, Qt::Key_MediaPlay, false},  {0xB4, Qt::Key_LaunchMail, false}, {0xBA, Qt::Key_Semicolon, false},
    {0xBB, Qt::Key_Equal, false},      {0xBC, Qt::Key_Comma, false},     {0xBD, Qt::Key_Minus, false},
    {0xBE, Qt::Key_Period, false},     {0xBF, Qt::Key_Slash, false},     {0xC0, Qt::Key_QuoteLeft, false},
    {0xDB, Qt::Key_BracketLeft, false}, {0xDC, Qt::Key_Backslash, false}, {0xDD, Qt::Key_BracketRight, false},
    {0xDE, Qt::Key_Apostrophe, false}, {0xFA, Qt::Key_Play, false},      {0xFB, Qt::Key_Zoom, false},
};

struct TCursorEntry
{
    TCursor Code;
    Qt::CursorShape Shape;
};

const TCursorEntry kCursors[] = {
    {crDefault, Qt::ArrowCursor},     {crArrow, Qt::ArrowCursor},       {crCross, Qt::CrossCursor},
    {crIBeam, Qt::IBeamCursor},       {crSizeNESW, Qt::SizeBDiagCursor}, {crSizeNS, Qt::SizeVerCursor},
    {crSizeNWSE, Qt::SizeFDiagCursor}, {crSizeWE, Qt::SizeHorCursor},   {crUpArrow, Qt::UpArrowCursor},
    {crHourGlass, Qt::WaitCursor},    {crDrag, Qt::DragMoveCursor},     {crNoDrop, Qt::ForbiddenCursor},
    {crHSplit, Qt::SplitHCursor},     {crVSplit, Qt::SplitVCursor},     {crMultiDrag, Qt::DragCopyCursor},
    {crSQLWait, Qt::BusyCursor},      {crNo, Qt::ForbiddenCursor},      {crAppStart, Qt::BusyCursor},
    {crHelp, Qt::WhatsThisCursor},    {crHandPoint, Qt::PointingHandCursor}, {crSizeAll, Qt::SizeAllCursor},
    // -1, the "none" cursor: nothing is shown.
    {-1, Qt::BlankCursor},
};

} // namespace

Qt::Key KeyOfVirtualKey(int code, bool *keypad)
{
    if (keypad)
        *keypad = false;
    if ((code >= 0x30 && code <= 0x39) || (code >= 0x41 && code <= 0x5A))
        return static_cast<Qt::Key>(code); // Qt's digits and capitals are their ASCII codes
    if (code >= 0x60 && code <= 0x69) {
        if (keypad)
            *keypad = true;
        return static_cast<Qt::Key>(Qt::Key_0 + (code - 0x60));
    }
    if (code >= 0x70 && code <= 0x87)
        return static_cast<Qt::Key>(Qt::Key_F1 + (code - 0x70));
    for (const TKeyEntry &e : kKeys)
        if (e.Code == code) {
            if (keypad)
                *keypad = e.Keypad;
            return e.Key;
        }
    return Qt::Key_unknown;
}

int VirtualKeyOf(int key, bool keypad)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? 0x60 + (key - Qt::Key_0) : key;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + (key - Qt::Key_F1);
    if (key == Qt::Key_Enter)
        return 0x0D;
    if (key == Qt::Key_Backtab)
        return 0x09;
    // The keypad form first when the key came from the keypad.
    for (const TKeyEntry &e : kKeys)
        if (e.Key == key && e.Keypad == keypad)
            return e.Code;
    for (const TKeyEntry &e : kKeys)
        if (e.Key == key)
            return e.Code;
    return 0;
}

QKeySequence ShortCutToKeySequence(int shortCut)
{
    bool keypad = false;
    const Qt::Key key = KeyOfVirtualKey(shortCut & 0xFF, &keypad);
    if (key == Qt::Key_unknown)
        return QKeySequence();
    Qt::KeyboardModifiers mods;
    if (shortCut & kShortCutShift)
        mods |= Qt::ShiftModifier;
    if (shortCut & kShortCutCtrl)
        mods |= Qt::ControlModifier;
    if (shortCut & kShortCutAlt)
        mods |= Qt::AltModifier;
    if (keypad)
        mods |= Qt::KeypadModifier;
    return QKeySequence(QKeyCombination(mods, key));
}

int KeySequenceToShortCut(const QKeySequence &sequence)
{
    if (sequence.isEmpty())
        return 0;
    const QKeyCombination k = sequence[0];
    const int code = VirtualKeyOf(k.key(), k.keyboardModifiers() & Qt::KeypadModifier);
    if (code == 0)
        return 0;
    int result = code;
    if (k.keyboardModifiers() & Qt::ShiftModifier)
        result |= kShortCutShift;
    if (k.keyboardModifiers() & Qt::ControlModifier)
        result |= kShortCutCtrl;
    if (k.keyboardModifiers() & Qt::AltModifier)
        result |= kShortCutAlt;
    return result;
}

bool MatchesShortCut(int shortCut, int key, Qt::KeyboardModifiers modifiers)
{
    const int code = shortCut & 0xFF;
    if (code == 0 || KeyOfVirtualKey(code) == Qt::Key_unknown)
        return false;
    const int pressed = VirtualKeyOf(key, modifiers & Qt::KeypadModifier);
    if (pressed != code)
        return false;
    const auto want = [shortCut](int flag) { return (shortCut & flag) != 0; };
    return want(kShortCutShift) == bool(modifiers & Qt::ShiftModifier) &&
           want(kShortCutCtrl) == bool(modifiers & Qt::ControlModifier) &&
           want(kShortCutAlt) == bool(modifiers & Qt::AltModifier);
}

Qt::CursorShape CursorShapeOf(TCursor code)
{
    for (const TCursorEntry &e : kCursors)
        if (e.Code == code)
            return e.Shape;
    return Qt::ArrowCursor;
}

} // namespace TreeInput
