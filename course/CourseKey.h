// A course's key: the name its records (and replays) go by, taken from the course file's
// bytes, so that a changed course starts afresh. A 64-bit FNV-1a hash written as 16 lower-case
// hex digits: the same on every machine and build.
#pragma once

#include <string>

std::string CourseKey(const std::string& contents);

// The key of the course file at `path`; empty when it cannot be read.
std::string CourseFileKey(const std::string& path);
