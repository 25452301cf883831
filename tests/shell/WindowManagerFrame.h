#pragma once

#include <QGuiApplication>
#include <QRect>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

// What the X window manager did with a window, read from the X server and not
// from Qt: the frame it drew around the window (the window's place on the
// screen plus _NET_FRAME_EXTENTS) and the work area it leaves to windows
// (_NET_WORKAREA), both in the screen's own pixels.
class WindowManagerFrame
{
public:
    // Null when the program does not run on X.
    static xcb_connection_t *connection()
    {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        return x11 ? x11->connection() : nullptr;
    }

    // Waits until the window manager has framed the window and answered
    // every request; false when it never does.
    static bool waitForFrame(QWidget *window)
    {
        const xcb_window_t id = xcb_window_t(window->winId());
        return QTest::qWaitFor([id] { return extents(id).size() == 4; }, 15000)
               && (QTest::qWait(150), true); // a last move after the frame
    }

    static QRect frame(QWidget *window)
    {
        xcb_connection_t *c = connection();
        const xcb_window_t id = xcb_window_t(window->winId());
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        auto reply = take(xcb_translate_coordinates_reply(
                c, xcb_translate_coordinates(c, id, screen->root, 0, 0), nullptr));
        auto geometry = take(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
        const std::vector<quint32> e = extents(id); // left, right, top, bottom
        if (!reply || !geometry || e.size() != 4)
            return {};
        return QRect(reply->dst_x, reply->dst_y, geometry->width, geometry->height)
                .adjusted(-int(e[0]), -int(e[2]), int(e[1]), int(e[3]));
    }

    static QRect workArea()
    {
        xcb_connection_t *c = connection();
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const std::vector<quint32> area = cardinals(screen->root, "_NET_WORKAREA");
        if (area.size() < 4)
            return QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
        return QRect(int(area[0]), int(area[1]), int(area[2]), int(area[3]));
    }

private:
    template<typename T>
    static std::unique_ptr<T, decltype(&std::free)> take(T *reply)
    {
        return {reply, &std::free};
    }

    static std::vector<quint32> extents(xcb_window_t id)
    {
        return cardinals(id, "_NET_FRAME_EXTENTS");
    }

    static std::vector<quint32> cardinals(xcb_window_t id, const char *name)
    {
        xcb_connection_t *c = connection();
        auto atom = take(xcb_intern_atom_reply(
                c, xcb_intern_atom(c, 1, uint16_t(qstrlen(name)), name), nullptr));
        if (!atom || atom->atom == XCB_ATOM_NONE)
            return {};
        auto property = take(xcb_get_property_reply(
                c, xcb_get_property(c, 0, id, atom->atom, XCB_ATOM_CARDINAL, 0, 16), nullptr));
        if (!property || property->format != 32)
            return {};
        const auto *values = static_cast<const quint32 *>(xcb_get_property_value(property.get()));
        return std::vector<quint32>(values,
                                    values + xcb_get_property_value_length(property.get()) / 4);
    }
};
