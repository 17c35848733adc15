#include "app/report_error.h"

#include "app/request_quit.h"
#include "app/window.h"
#include "platform/platform.h"

void ReportError(const char* message) {
  MessageBoxA(mainWindow, message, message, MB_OK);
  RequestQuit();
}
