#pragma once

// Stands in for the shell's notification area after it ended: a window of the class that
// Shell_NotifyIcon talks to, announced with "TaskbarCreated" as a restarted shell does. For
// `seconds` it prints one line per icon message it receives (at most `limit`):
//   message=<0 add, 1 modify, 2 delete> from=<window> red=<red pixels> same-as-add=<0|1>
// The icon's pixels travel in the message's data; red counts the red 32-bit pixels in it.
int standInTray(int seconds, int limit);
