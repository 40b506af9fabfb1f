// The keyboard's lock states as an X11 display's indicators show them.
// Apart from the rest because X11's headers define names Qt uses.

#include <QGuiApplication>

#ifdef DENDRIX_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

bool ReadDisplayLockStates(bool &caps, bool &num, bool &scroll)
{
#ifdef DENDRIX_HAVE_X11
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    const auto indicator = [display](const char *name) {
        Bool on = False;
        const Atom atom = XInternAtom(display, name, True);
        return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
    };
    caps = indicator("Caps Lock");
    num = indicator("Num Lock");
    scroll = indicator("Scroll Lock");
    return true;
#else
    return false;
#endif
}
