// Test stand-in for libQyCommon.so: records every SendMsg call.
#include "recording_common_lib.h"

#include <cstring>
#include <vector>

#define RADIXPAD_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::vector<RecordedSendMsg>& Calls() {
  static std::vector<RecordedSendMsg> calls;
  return calls;
}

void CopyText(char* target, size_t size, intptr_t source) {
  target[0] = '\0';
  if (source == 0) return;
  const char* text = reinterpret_cast<const char*>(source);
  const size_t length = strnlen(text, size - 1);
  std::memcpy(target, text, length);
  target[length] = '\0';
}

}  // namespace

RADIXPAD_EXPORT intptr_t SendMsg(intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
  RecordedSendMsg call{code, a, b, c, d, {}, {}};
  if (code == 1) {
    CopyText(call.sharedFile, sizeof call.sharedFile, a);
    CopyText(call.userFile, sizeof call.userFile, b);
  }
  Calls().push_back(call);
  return RecordingLibResult(code);
}

RADIXPAD_EXPORT int RecordedCallCount() { return static_cast<int>(Calls().size()); }

RADIXPAD_EXPORT const RecordedSendMsg* RecordedCall(int index) { return &Calls().at(index); }

RADIXPAD_EXPORT void ResetRecords() { Calls().clear(); }
