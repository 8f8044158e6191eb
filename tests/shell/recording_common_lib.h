// What the recording stand-in of the common library keeps of each SendMsg call.
#pragma once

#include <cstdint>

struct RecordedSendMsg {
  intptr_t code;
  intptr_t a, b, c, d;
  // For code 1, the two path texts as they were during the call.
  char sharedFile[1024];
  char userFile[1024];
};

// SendMsg answers this for every code; tests check it is passed back.
inline intptr_t RecordingLibResult(intptr_t code) { return 1000 + code; }

using RecordedCallCountFunction = int (*)();
using RecordedCallFunction = const RecordedSendMsg* (*)(int index);
using ResetRecordsFunction = void (*)();
