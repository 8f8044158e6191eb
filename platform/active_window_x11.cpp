#include <xcb/xcb.h>

#include "active_window.h"
#include "global_key_x11.h"

namespace radixpad {
namespace {

// The window the window manager names active; nullopt when it names none (no EWMH
// window manager runs, or the property is malformed).
std::optional<xcb_window_t> NetActiveWindow(xcb_connection_t* connection, xcb_window_t root) {
  static constexpr char kName[] = "_NET_ACTIVE_WINDOW";
  const XcbReply<xcb_intern_atom_reply_t> atom(
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof kName - 1, kName), nullptr));
  if (!atom || atom->atom == XCB_ATOM_NONE) return std::nullopt;
  const XcbReply<xcb_get_property_reply_t> property(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr));
  if (!property || property->type != XCB_ATOM_WINDOW || property->format != 32 ||
      xcb_get_property_value_length(property.get()) != sizeof(xcb_window_t)) {
    return std::nullopt;
  }
  return *static_cast<const xcb_window_t*>(xcb_get_property_value(property.get()));
}

}  // namespace

std::optional<bool> IsActiveOnDisplay(quintptr window) {
  const auto [connection, root] = ApplicationX11Connection();
  if (!connection || xcb_connection_has_error(connection)) return std::nullopt;
  if (const std::optional<xcb_window_t> active = NetActiveWindow(connection, root)) return *active == window;
  const XcbReply<xcb_get_input_focus_reply_t> focus(
      xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  if (!focus) return std::nullopt;
  return focus->focus == window;
}

}  // namespace radixpad
