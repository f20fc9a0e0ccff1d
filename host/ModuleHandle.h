// The module instance handle of the loaded plug-in library, recorded by the
// library's entry procedure (Windows) and read by the toolkit to load its
// resources and name its window class. Null on other platforms.
#pragma once

void* moduleInstanceHandle();
void setModuleInstanceHandle(void* handle);
