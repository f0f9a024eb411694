#include "profile/LineSink.h"

#include "platform/File.h"

bool FileLineSink::WriteLine(const std::string& text) { return file_.WriteLine(text); }
