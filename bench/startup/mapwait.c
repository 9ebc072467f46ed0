// SPDX-License-Identifier: GPL-3.0-or-later
/* Starts a program and tells how long it took until its first top-level window was mapped.
 *
 *   mapwait PROGRAM [ARGS...]
 *
 * Listens for MapNotify on the root window of $DISPLAY before it starts the program, so the
 * map is seen the moment the X server performs it, without polling. Prints one line
 * "MAPPED_MS PID WINDOW" as soon as the window is mapped (or "-1 PID 0" when the program ends
 * first; WINDOW is the window's X id in decimal),
 * then waits for the program to end and exits with its status. Ending the program is the
 * caller's business (SIGTERM to PID).
 */
#define _POSIX_C_SOURCE 200809L

#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: mapwait PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "mapwait: cannot open display\n");
    return 2;
  }
  Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const double start = now_ms();
  pid_t pid = fork();
  if (pid < 0) {
    perror("mapwait: fork");
    return 2;
  }
  if (pid == 0) {
    close(ConnectionNumber(display));
    execvp(argv[1], argv + 1);
    perror("mapwait: exec");
    _exit(127);
  }

  const int fd = ConnectionNumber(display);
  double mapped = -1;
  Window window = 0;
  int status = 0;
  while (mapped < 0) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect) {
        mapped = now_ms() - start;
        window = event.xmap.window;
        break;
      }
    }
    if (mapped >= 0) break;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      printf("-1 %d 0\n", (int)pid);
      return 1;
    }
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(fd, &fds);
    struct timeval timeout = {0, 50000}; /* to notice a program that ends without a window */
    select(fd + 1, &fds, NULL, NULL, &timeout);
  }
  printf("%.1f %d %lu\n", mapped, (int)pid, (unsigned long)window);
  fflush(stdout);
  XCloseDisplay(display);

  if (waitpid(pid, &status, 0) != pid) return 1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
