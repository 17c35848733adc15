#include "app/request_quit.h"

#include "platform/platform.h"

void RequestQuit() { PostQuitMessage(0); }
