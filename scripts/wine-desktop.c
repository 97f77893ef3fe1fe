/* Keeps a Wine session's desktop up: one hidden window held until the session ends.
 *
 * Wine's desktop process (explorer.exe /desktop) is started by the first program that needs the
 * desktop window and closes about a second after the last program using the desktop has ended.
 * Without a holder, every Windows program of a session starts it again, which under an emulated
 * 32-bit side costs a minute or more before the program's first window exists. This program
 * creates its window (retrying while the desktop comes up), prints "ready" and then waits in its
 * message loop until the session's server ends it. It never shows a window or takes the focus.
 *
 * Built and started by scripts/wine-session.sh. Exit codes: 0 after WM_QUIT, 1 when no window
 * could be made in the attempts allowed. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

enum { kRetryDelayMs = 5000 };

static HWND make_holder(void)
{
  return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"Wine session desktop holder",
                         WS_POPUP, 0, 0, 1, 1, NULL, NULL, GetModuleHandleW(NULL), NULL);
}

int main(int argc, char **argv)
{
  int attempts = argc > 1 ? atoi(argv[1]) : 60;
  DWORD start = GetTickCount();
  HWND holder = NULL;
  for (int attempt = 1; attempt <= attempts && !holder; ++attempt) {
    holder = make_holder();
    if (!holder) {
      printf("desktop: attempt %d: no window yet (CreateWindowEx error %lu)\n", attempt,
             (unsigned long)GetLastError());
      fflush(stdout);
      Sleep(kRetryDelayMs);
    }
  }
  if (!holder) {
    printf("desktop: failed: no window could be created\n");
    return 1;
  }
  printf("ready after %lu ms (desktop window %p)\n", (unsigned long)(GetTickCount() - start),
         (void *)GetDesktopWindow());
  fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, NULL, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
