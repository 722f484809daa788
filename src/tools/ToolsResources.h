#pragma once
// The pictures and the help document of the tools windows are compiled into the program; a
// static library's resources are only linked in when something refers to them, which
// ensureToolsResources() does. Call it before reading ":/tools" or ":/help".
void ensureToolsResources();
