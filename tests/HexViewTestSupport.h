#pragma once

// Shared pieces of the hex viewer's tests under Wine: a memory bitmap to
// paint into, a scratch folder, and a helper process that holds a file open.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/ScratchFolder.h"
#include "tests/support/TestDriver.h"

namespace hexviewtest {

// The test driver's memory bitmap, read as COLORREF values by rectangle.
class TDibCanvas {
public:
    TDibCanvas(int width, int height);

    HDC DC() const { return FImage.DC(); }
    int Width() const { return FImage.Width(); }
    int Height() const { return FImage.Height(); }
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF color);
    // Copies a window's client area (as it is on screen) into the bitmap.
    void CaptureClient(HWND window);
    // Counts pixels of exactly `color` in [left, right) x [top, bottom).
    int Count(COLORREF color, int left, int top, int right, int bottom) const;
    // True when every pixel of the rectangle is `color`.
    bool All(COLORREF color, int left, int top, int right, int bottom) const;
    // The pixels of one rectangle, row by row.
    std::vector<std::uint32_t> Block(int left, int top, int right, int bottom) const;

private:
    TestDriver::TDibImage FImage;
};

// The scratch folder with the files the viewer's tests need, removed
// through the long-path names, so names beyond the path limit or outside
// the ANSI code page go too.
class TScratchFolder : public ::TScratchFolder {
public:
    TScratchFolder() = default;
    ~TScratchFolder();

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // A file of `size` bytes that occupies no disk space.
    std::string WriteSparse(const std::string& name, std::int64_t size) const;
    // A file in nested folders whose full name has at least `minLength`
    // characters; that name, without the long-path prefix.
    std::string WriteLongName(std::size_t minLength, const std::vector<std::uint8_t>& bytes) const;
    // A file made under its wide name (any characters, any length).
    static void WriteWide(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
    // The wide, long-path-prefixed form of a full ANSI name.
    static std::wstring LongPath(const std::string& path);
};

// Deterministic bytes 0..255 mixed, so rows differ.
std::vector<std::uint8_t> PatternBytes(std::size_t count, std::uint32_t seed = 1);

// Another process (this test executable, started again) that opens a file
// for writing and keeps it open until this object goes.
class THeldFile {
public:
    explicit THeldFile(const std::string& fileName);
    ~THeldFile();
    THeldFile(const THeldFile&) = delete;
    THeldFile& operator=(const THeldFile&) = delete;

private:
    HANDLE FRelease = nullptr;
    PROCESS_INFORMATION FProcess{};
};

// A Unix shell process (under Wine) that appends numbered lines to a file
// until it is stopped, the file goes, or 16 MB were added. Unix processes
// ignore Windows sharing, so the file grows while a reader holds it open,
// as on a network share or beside a Unix program.
class TUnixAppender {
public:
    TUnixAppender(const TScratchFolder& folder, const std::string& fileName);
    // Stops the shell and waits until it has ended.
    ~TUnixAppender();
    TUnixAppender(const TUnixAppender&) = delete;
    TUnixAppender& operator=(const TUnixAppender&) = delete;

    // Empty once the shell runs and has appended; otherwise why not.
    const std::string& Failure() const { return FFailure; }
    void Stop();

private:
    std::string FFileName;
    std::string FFailure;
    bool FRunning = false;
};

// The size the system reports for a file, or -1.
std::int64_t FileSizeOf(const std::string& fileName);
// All bytes a file holds.
std::vector<std::uint8_t> ReadAllBytes(const std::string& fileName);

}  // namespace hexviewtest
