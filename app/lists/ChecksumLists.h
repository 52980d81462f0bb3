// The lists of the checksum tools: md5sum and sha1sum ("VALUE  name", "VALUE *name", with md5sum's escaped lines),
// the BSD tag form ("MD5 (name) = VALUE", as md5sum --tag and rhash --bsd write it) and hashdeep's. Lines are bytes
// whose ASCII structure is read as it is; toWide converts the names.
#pragma once

#include "app/lists/HashListParser.h"

#include <string>
#include <vector>

class ChecksumLists {
public:
    // an md5sum or sha1sum entry line of a kind this program computes
    static bool IsSumLine(const std::string& line);
    // a BSD tag line, of any kind
    static bool IsTagLine(const std::string& line);
    // the first line of a hashdeep list
    static bool IsHashdeepHeader(const std::string& line);

    // md5sum, sha1sum and tag lines in any mix; a line that does not fit is skipped, as "md5sum -c" does
    static void ReadSums(const std::vector<std::string>& lines, const TextCodec::ToWideFunction& toWide,
        std::vector<HashListEntry>& entries);
    // False when entries come before the column line, which means the file is not hashdeep's.
    static bool ReadHashdeep(const std::vector<std::string>& lines, const TextCodec::ToWideFunction& toWide,
        std::vector<HashListEntry>& entries);
};
