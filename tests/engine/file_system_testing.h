#pragma once
// What the tests of the file layer share.

#include "logweave/std_file_system.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace logweave::testing {

inline void write(FileSystem& files, const std::vector<std::filesystem::path>& targets,
                  const std::vector<std::string>& contents)
{
    const auto batch = files.writeFiles(targets);
    for (std::size_t i = 0; i < targets.size(); ++i)
        batch->file(i).write(contents[i]);
    batch->commit();
}

}  // namespace logweave::testing
