#pragma once
// The job file: an INI text file whose section "Settings" holds the fields
// of a job. It is updated key by key through the private-profile functions, so
// everything else in the file stays where it is. A file an editor saved in
// UTF-8 or UTF-16 is read as what it is (JobFileValues), and converted whole to
// the ANSI code page before the first key is written to it.
#include <string>

#include "job/JobFileValues.h"
#include "job/JobSettings.h"

// A missing file or key gives that field's read default; this is no error. The
// lists come in their normal form. A file whose values cannot all be taken
// exactly, or one over the size limit of a job file (kJobFileLimit), gives the
// read defaults, and `refusal`, when given, says why.
JobSettings ReadJobFile(const std::string& path, std::string* refusal = nullptr);

// Writes the keys in their fixed order; keys already in the file keep their
// place. False when some key could not be written, or when a UTF-8 or UTF-16
// file holds a line without an exact ANSI form, or the file is over the size
// limit of a job file: then nothing is written, and `refusal`, when given, names
// the file.
bool WriteJobFile(const std::string& path, const JobSettings& job, std::string* refusal = nullptr);

// Whether the file holds a job's section at all; false for a new job.
bool IsStoredJob(const std::string& path);
