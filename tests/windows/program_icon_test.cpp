// The programs carry their icon: the group VX_PROGRAM_ICON in each .exe beside this test,
// with a 32x32 and a 16x16 image that Windows picks by size and makes icons of.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace {

std::filesystem::path beside_this_test(const std::filesystem::path& name) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) {
      return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path() / name;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// RT_ICON or RT_GROUP_ICON as the wide functions take it, whether or not UNICODE is defined.
const wchar_t* wide(const void* type) {
  return MAKEINTRESOURCEW(reinterpret_cast<ULONG_PTR>(type));
}

uint16_t word_at(std::span<const BYTE> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The parameter is the program's name.
class ProgramIcon : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    path_ = beside_this_test(std::string(GetParam()) + ".exe");
    module_ = LoadLibraryExW(path_.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << "cannot load " << path_.string() << " (error " << GetLastError()
                                << ")";
  }

  void TearDown() override {
    if (module_ != nullptr) {
      FreeLibrary(module_);
    }
  }

  // The bytes of a resource of the program, empty when it has none of that name and type.
  std::span<BYTE> resource(const wchar_t* name, const wchar_t* type) const {
    HRSRC found = FindResourceW(module_, name, type);
    if (found == nullptr) {
      return {};
    }
    auto* bytes = static_cast<BYTE*>(LockResource(LoadResource(module_, found)));
    return {bytes, SizeofResource(module_, found)};
  }

  std::span<BYTE> group() const { return resource(L"VX_PROGRAM_ICON", wide(RT_GROUP_ICON)); }

  std::filesystem::path path_;
  HMODULE module_ = nullptr;
};

TEST_P(ProgramIcon, HoldsA32AndA16ImageThatBecomeIcons) {
  std::span<BYTE> directory = group();
  ASSERT_GE(directory.size(), 6u) << "no icon group VX_PROGRAM_ICON in " << path_.string();
  EXPECT_EQ(word_at(directory, 4), 2) << "images in the group";
  for (int size : {32, 16}) {
    SCOPED_TRACE(testing::Message() << size << "x" << size);
    const int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, size, size, LR_DEFAULTCOLOR);
    ASSERT_NE(id, 0);
    std::span<BYTE> image = resource(MAKEINTRESOURCEW(id), wide(RT_ICON));
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biWidth, size) << "the nearest image is not the exact size";
    EXPECT_EQ(header.biHeight, 2 * size);

    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                          0x00030000, size, size, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr) << "error " << GetLastError();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colours{};
    EXPECT_NE(GetObjectW(info.hbmColor, sizeof colours, &colours), 0);
    EXPECT_EQ(colours.bmWidth, size);
    EXPECT_EQ(colours.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramIcon, testing::Values("tripcost", "logvolume"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
