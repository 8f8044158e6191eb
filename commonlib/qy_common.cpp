// libQyCommon.so: the one exported entry, SendMsg, over one CCommonCore.
#include <dlfcn.h>

#include <QFileInfo>
#include <cstdint>
#include <memory>

#include "common_core.h"

#define QYCOMMON_EXPORT __attribute__((visibility("default")))

extern "C" QYCOMMON_EXPORT intptr_t SendMsg(intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d);

namespace {

using radixpad::commonlib::CCommonCore;
using radixpad::commonlib::CoreOptions;

// The folder this library was loaded from: the program folder.
QString LibraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&SendMsg), &info) == 0 || !info.dli_fname) return {};
  return QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
}

// Destroyed when the library is unloaded (or at process exit), which stops serving
// every window before the library's code goes away.
std::unique_ptr<CCommonCore>& CoreSlot() {
  static std::unique_ptr<CCommonCore> core;
  return core;
}

CCommonCore& Core() {
  std::unique_ptr<CCommonCore>& core = CoreSlot();
  if (!core) {
    CoreOptions options;
    options.programFolder = LibraryFolder();
    core = std::make_unique<CCommonCore>(std::move(options));
  }
  return *core;
}

}  // namespace

extern "C" QYCOMMON_EXPORT intptr_t SendMsg(intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
  try {
    return Core().SendMsg(code, a, b, c, d);
  } catch (...) {
    return 0;
  }
}
