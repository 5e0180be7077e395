#pragma once

#include "io/file_location.h"

namespace marnoq::jobs {

// Refuses an output name that is a folder or no regular file (a pipe, a device, a dangling
// link): it could take neither the checksum written at the end nor the rename of the finished
// file. Returns whether a regular file of that name exists already.
bool checkOutputTarget(const io::FileLocation& where);

}  // namespace marnoq::jobs
