#pragma once
// A process id that is certainly not running: the id of a child that has already ended.

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

inline pid_t EndedProcess() {
    const pid_t Child = fork();
    if (Child == 0)
        _exit(0);
    waitpid(Child, nullptr, 0);
    return Child;
}
