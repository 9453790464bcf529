#pragma once
// File status codes as the tool reports them, and their messages.

#include <string>
#include <string_view>

namespace kav {

enum IoStatusCode : int {
    ioOk = 0,
    ioFileNotFound = 2,
    ioInvalidFileName = 3,
    ioTooManyOpenFiles = 4,
    ioAccessDenied = 5,
    ioEndOfFile = 100,
    ioDiskFull = 101,
    ioError = 103,
    ioInvalidInput = 106,
};

// The status code for an errno value. Errors without a closer match count as I/O errors, so
// that every failure reaches the user with a message.
int IoStatusFromErrno(int Errno);

// The message prefix for a status code ("File not found: " ...); empty for codes that end an
// operation without a message.
std::string_view IoStatusPrefix(int Code);

// Prefix followed by the file path; empty when the code has no message.
std::string IoStatusMessage(int Code, std::string_view Path);

// "File access error: " followed by the path: a failure when closing a file.
std::string FileAccessErrorMessage(std::string_view Path);

} // namespace kav
