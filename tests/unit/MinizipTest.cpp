// zlib and minizip are linked in both toolchains: a ZIP written here reads back intact.
#include <gtest/gtest.h>
#include <unzip.h>
#include <zip.h>

#include "TestSupport.h"
#include "platform/FileSystem.h"

TEST(Minizip, WritesAndReadsBackADeflatedEntry) {
    ScratchFolder scratch;
    std::string path = platform::NativePath(scratch.File("t.zip"));
    std::string data;
    for (int i = 0; i < 2000; ++i) data += "line " + std::to_string(i) + "\r\n";

    zipFile zf = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zf, nullptr);
    zip_fileinfo info = {};
    info.tmz_date.tm_year = 2024;
    info.tmz_date.tm_mon = 0;
    info.tmz_date.tm_mday = 2;
    ASSERT_EQ(zipOpenNewFileInZip(zf, "dir\\file.txt", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6), ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zf, data.data(), static_cast<unsigned>(data.size())), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(zf), ZIP_OK);
    ASSERT_EQ(zipClose(zf, nullptr), ZIP_OK);

    unzFile uf = unzOpen(path.c_str());
    ASSERT_NE(uf, nullptr);
    ASSERT_EQ(unzLocateFile(uf, "dir\\file.txt", 1), UNZ_OK);
    unz_file_info fileInfo;
    ASSERT_EQ(unzGetCurrentFileInfo(uf, &fileInfo, nullptr, 0, nullptr, 0, nullptr, 0), UNZ_OK);
    EXPECT_EQ(fileInfo.uncompressed_size, data.size());
    EXPECT_LT(fileInfo.compressed_size, data.size() / 3);
    EXPECT_EQ(fileInfo.compression_method, static_cast<unsigned long>(Z_DEFLATED));
    ASSERT_EQ(unzOpenCurrentFile(uf), UNZ_OK);
    std::string back(data.size(), '\0');
    EXPECT_EQ(unzReadCurrentFile(uf, &back[0], static_cast<unsigned>(back.size())), static_cast<int>(data.size()));
    EXPECT_EQ(back, data);
    unzCloseCurrentFile(uf);
    unzClose(uf);
}
