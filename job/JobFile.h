#pragma once
// The job file: an INI text file whose section "Settings" holds the fields
// of a job. It is read and updated key by key through the private-profile
// functions, so everything else in the file stays where it is.
#include <string>

#include "job/JobSettings.h"

// Texts read from a job file are cut to this many characters.
constexpr size_t kJobTextLimit = 260;

// A missing file or key gives that field's read default; this is no error.
JobSettings ReadJobFile(const std::string& path);

// Writes the keys in their fixed order; keys already in the file keep their
// place. False when some key could not be written.
bool WriteJobFile(const std::string& path, const JobSettings& job);

// Whether the file holds a job's section at all; false for a new job.
bool IsStoredJob(const std::string& path);
