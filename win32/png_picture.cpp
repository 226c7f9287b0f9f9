#include "win32/png_picture.h"

#include "win32/library_entry.h"

#include <objidl.h>
#include <shlwapi.h>

#include <gdiplus.h>

#include <memory>

namespace win32 {

namespace {

using Library = Owned<HMODULE, FreeLibrary>;

struct StreamDeleter
{
    void operator()(IStream *stream) const { stream->Release(); }
};

} // namespace

Bitmap loadPngResource(HINSTANCE instance, int id)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10)); // RCDATA
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};

    const Library shell(LoadLibraryW(L"shlwapi.dll"));
    const Library gdiplus(LoadLibraryW(L"gdiplus.dll"));
    if (!shell || !gdiplus)
        return {};
    const auto createStream = entry<decltype(SHCreateMemStream)>(shell.get(), "SHCreateMemStream");
    const auto startup = entry<decltype(Gdiplus::GdiplusStartup)>(gdiplus.get(), "GdiplusStartup");
    const auto shutdown
        = entry<decltype(Gdiplus::GdiplusShutdown)>(gdiplus.get(), "GdiplusShutdown");
    const auto fromStream = entry<decltype(Gdiplus::DllExports::GdipCreateBitmapFromStream)>(
        gdiplus.get(), "GdipCreateBitmapFromStream");
    const auto toBitmap = entry<decltype(Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap)>(
        gdiplus.get(), "GdipCreateHBITMAPFromBitmap");
    const auto dispose
        = entry<decltype(Gdiplus::DllExports::GdipDisposeImage)>(gdiplus.get(), "GdipDisposeImage");
    if (!createStream || !startup || !shutdown || !fromStream || !toBitmap || !dispose)
        return {};

    const std::unique_ptr<IStream, StreamDeleter> stream(
        createStream(static_cast<const BYTE *>(data), SizeofResource(instance, found)));
    if (!stream)
        return {};
    const Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (startup(&token, &input, nullptr) != Gdiplus::Ok)
        return {};
    Bitmap result;
    Gdiplus::GpBitmap *image = nullptr;
    if (fromStream(stream.get(), &image) == Gdiplus::Ok) {
        HBITMAP bitmap = nullptr;
        if (toBitmap(image, &bitmap, 0) == Gdiplus::Ok)
            result.reset(bitmap);
        dispose(image);
    }
    shutdown(token);
    return result;
}

} // namespace win32
