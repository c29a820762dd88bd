#pragma once

// Watching the X screen from outside a program: when its first pixels show,
// when the screen changes after a key typed through the XTEST extension.
// Plain Xlib, so that the watcher shares nothing with the program watched.
// The screen must start black (as Xvfb's does) with nothing else on it.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

#include <poll.h>

#include <cstdint>
#include <cstdio>
#include <ctime>

inline int64_t monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

class XScreen
{
public:
    XScreen() = default;
    XScreen(const XScreen &) = delete;
    XScreen &operator=(const XScreen &) = delete;
    ~XScreen()
    {
        if (m_display) {
            XFixesDestroyRegion(m_display, m_region);
            XDamageDestroy(m_display, m_damage);
            XCloseDisplay(m_display);
        }
    }

    // Connects and starts recording every change of the screen. False, with
    // the reason on stderr, when the display or an extension is missing.
    bool open()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display) {
            std::fprintf(stderr, "no X display: run under xvfb-run -a\n");
            return false;
        }
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XDamageQueryExtension(m_display, &m_damageEvent, &error) || !XFixesQueryExtension(m_display, &event, &error)
            || !XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
            std::fprintf(stderr, "the X server lacks DAMAGE, XFIXES or XTEST\n");
            return false;
        }
        m_root = DefaultRootWindow(m_display);
        m_damage = XDamageCreate(m_display, m_root, XDamageReportNonEmpty);
        m_region = XFixesCreateRegion(m_display, nullptr, 0);
        XSync(m_display, False);
        return true;
    }

    int width() const { return DisplayWidth(m_display, DefaultScreen(m_display)); }
    int height() const { return DisplayHeight(m_display, DefaultScreen(m_display)); }

    // Forgets what changed so far.
    void settle()
    {
        XSync(m_display, False);
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
        }
        XDamageSubtract(m_display, m_damage, None, None);
        XSync(m_display, False);
    }

    // Waits for a change of the screen that leaves a pixel other than black
    // in the changed area. The monotonic time it was seen, or -1 at
    // `deadlineNs`; lastChange() is where it happened.
    int64_t waitForNonBlack(int64_t deadlineNs) { return waitForChange(deadlineNs, true); }

    // Waits for any change of the screen. As waitForNonBlack.
    int64_t waitForAnyChange(int64_t deadlineNs) { return waitForChange(deadlineNs, false); }

    // The bounds of the change the last wait returned.
    XRectangle lastChange() const { return m_last; }

    // How many columns of the area hold at least `minimum` dark pixels (each
    // of red, green and blue below 96): a glyph spans several, a text cursor
    // one or two.
    int darkColumns(int x, int y, int w, int h, int minimum)
    {
        XImage *image = XGetImage(m_display, m_root, x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
        if (!image)
            return 0;
        int columns = 0;
        for (int column = 0; column < w; ++column) {
            int dark = 0;
            for (int row = 0; row < h; ++row) {
                const unsigned long p = XGetPixel(image, column, row);
                dark += ((p >> 16) & 0xFF) < 96 && ((p >> 8) & 0xFF) < 96 && (p & 0xFF) < 96;
            }
            columns += dark >= minimum;
        }
        XDestroyImage(image);
        return columns;
    }

    // True when the whole screen is black again.
    bool isBlack()
    {
        return !hasNonBlack(0, 0, width(), height());
    }

    // Moves the pointer to the middle of the screen, where the window shows:
    // without a window manager, the keyboard goes where the pointer is.
    void pointAtMiddle()
    {
        XTestFakeMotionEvent(m_display, DefaultScreen(m_display), width() / 2, height() / 2, 0);
        XSync(m_display, False);
    }

    // Presses and releases the key of `keysym`, as a keyboard would.
    void typeKey(KeySym keysym)
    {
        const KeyCode code = XKeysymToKeycode(m_display, keysym);
        XTestFakeKeyEvent(m_display, code, True, 0);
        XTestFakeKeyEvent(m_display, code, False, 0);
        XFlush(m_display);
    }

private:
    bool hasNonBlack(int x, int y, int w, int h)
    {
        if (w <= 0 || h <= 0)
            return false;
        XImage *image = XGetImage(m_display, m_root, x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
        if (!image)
            return false;
        bool found = false;
        for (int row = 0; row < h && !found; ++row)
            for (int column = 0; column < w; ++column)
                if ((XGetPixel(image, column, row) & 0xFFFFFF) != 0) {
                    found = true;
                    break;
                }
        XDestroyImage(image);
        return found;
    }

    int64_t waitForChange(int64_t deadlineNs, bool nonBlack)
    {
        for (;;) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type != m_damageEvent + XDamageNotify)
                    continue;
                const int64_t seen = monotonicNs();
                XDamageSubtract(m_display, m_damage, None, m_region);
                int count = 0;
                XRectangle bounds{};
                XRectangle *rects = XFixesFetchRegionAndBounds(m_display, m_region, &count, &bounds);
                if (rects)
                    XFree(rects);
                m_last = bounds;
                if (!nonBlack)
                    return seen;
                if (count > 0 && hasNonBlack(bounds.x, bounds.y, bounds.width, bounds.height))
                    return seen;
            }
            const int64_t left = deadlineNs - monotonicNs();
            if (left <= 0)
                return -1;
            pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
            poll(&fd, 1, int(left / 1000000) + 1);
        }
    }

    Display *m_display = nullptr;
    Window m_root = 0;
    Damage m_damage = 0;
    XserverRegion m_region = 0;
    int m_damageEvent = 0;
    XRectangle m_last{};
};
