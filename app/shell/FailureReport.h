#pragma once

#include <exception>

// Reports a failure that ended the clerk's operation as the program's failure handler does
// ("V programu nastala výjimka typu: ..."); the window then goes on.
void ReportFailure(const std::exception& failure);

// The same for the exception being handled; call it inside a catch block.
void ReportCurrentException();
