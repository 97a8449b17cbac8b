#include <windows.h>

#include "common/UniqueHandle.h"

void UniqueHandle::reset(void* handle) {
    if (handle_ != nullptr)
        CloseHandle(handle_);
    handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}
