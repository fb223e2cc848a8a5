// Record files on disk: reading one for --replay and --story, and writing one key by key
// for --record. Only regular files are read, and a record is only ever created: never
// over a file, a symbolic link or anything else that is there already.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "model/record.hpp"

// Reads and parses the record file at path: RECORD_OK, or what is wrong (for
// RECORD_READ_ERROR, the system's errno in system_error). Opening never waits (a FIFO
// without a writer is refused at once), and never more than RECORD_MAX_BYTES and one are
// read.
int read_record_file(const char* path, Record& record, int& system_error);

// A record being written while the game is played.
struct RecordFile {
    std::FILE* file;   // null once recording has stopped
    const char* path;  // as given on the command line
    std::size_t keys;  // keys written so far
    int error;         // errno of a failed write, 0 while none has failed
    bool full;         // RECORD_MAX_KEYS were written: the rest of the game is not recorded
};

// Creates the file (never replacing anything) and writes its first line (the seed and the
// language the game is played in). False when that
// failed; exists then tells whether something stood at path already, and error is errno.
bool create_record_file(RecordFile& record, const char* path, std::uint32_t seed, int language,
                        int rules, bool& exists);

// Writes one key down and flushes it, so that an interrupted game loses nothing. False
// when the file could not take it (error is set). At RECORD_MAX_KEYS, the most any reader
// takes, the file is closed and full set: the game goes on unrecorded.
bool record_key(RecordFile& record, int key);

// Closes the file if it is still open.
void close_record_file(RecordFile& record);
