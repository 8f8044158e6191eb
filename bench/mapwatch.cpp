// mapwatch: starts a program on an X server and reports how long it took
// until its first top-level window was mapped, and its resident memory one
// second later. Output, one line: "<milliseconds> <resident KiB>".
//   mapwatch PROGRAM [ARGS...]     (DISPLAY names the server)
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mapwatch PROGRAM [ARGS...]\n");
    return 2;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "mapwatch: cannot connect to the X server\n");
    return 2;
  }
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  double elapsedMs = -1;
  while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
    const uint8_t type = event->response_type & 0x7F;
    std::free(event);
    // A top-level window of the program became visible (directly on the root
    // without a window manager, or its frame with one).
    if (type == XCB_MAP_NOTIFY) {
      elapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      break;
    }
  }
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const long rss = ResidentKiB(child);
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  xcb_disconnect(connection);
  std::printf("%.1f %ld\n", elapsedMs, rss);
  return elapsedMs < 0 ? 1 : 0;
}
