#include "toolkit/jpeg_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

// After <cstdio>: jpeglib.h uses FILE and size_t without including their headers.
#include <jerror.h>
#include <jpeglib.h>

namespace toolkit {

namespace {

constexpr int kQuality = 90;

// No picture the game reads comes near this; a header claiming more is refused before libjpeg
// sets out to allocate and decode it.
constexpr long long kLargestPixelCount = 4096LL * 4096LL;

[[noreturn]] void Fail(const char* doing, const QString& path, const std::string& why) {
    throw std::runtime_error(std::string("Cannot ") + doing + " the JPEG picture " +
                             QDir::toNativeSeparators(path).toStdString() + ": " + why);
}

// libjpeg's error manager with a way back: errors, and warnings about the data, jump to the
// setjmp of the function that called into libjpeg, with the message kept here instead of
// printed. Plain C data only, so that libjpeg's pointer to the first member leads back to it.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->jump, 1);
}

// Level -1 is a warning, given for corrupt or truncated data that libjpeg would patch over
// with grey; higher levels are trace messages, dropped.
void JumpBackOnWarning(j_common_ptr info, int level) {
    if (level < 0) {
        JumpBack(info);
    }
}

void SayNothing(j_common_ptr) {}

jpeg_error_mgr* InstallTrap(ErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = JumpBack;
    trap.manager.emit_message = JumpBackOnWarning;
    trap.manager.output_message = SayNothing;
    trap.message[0] = '\0';
    return &trap.manager;
}

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, CloseFile>;

// A decompressor that is destroyed however far libjpeg got (destroying one that was never
// created is harmless: its memory manager is still null).
struct Decompressor {
    Decompressor() { info.err = InstallTrap(trap); }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct info{};
    ErrorTrap trap{};
};

// Decodes the file into image (Format_RGB888); the reason it failed, or null. Nothing with a
// destructor lives in this frame, so the long jump back to it skips none.
const char* Decode(Decompressor& decompressor, std::FILE* file, QImage& image) {
    jpeg_decompress_struct& info = decompressor.info;
    if (setjmp(decompressor.trap.jump) != 0) {
        return decompressor.trap.message;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (static_cast<long long>(info.image_width) * info.image_height > kLargestPixelCount) {
        return "the picture is larger than any the game reads";
    }
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        return "CMYK pictures are not supported";
    }
    info.out_color_space = JCS_RGB;  // libjpeg-turbo spreads grey pictures to RGB as well
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB888);
    if (image.isNull()) {
        return "the picture is too large to hold in memory";
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return nullptr;
}

// A compressor writing into a growing buffer, so that the file can be replaced in one step
// once the whole picture is encoded.
struct Compressor {
    Compressor() {
        info.err = InstallTrap(trap);
        info.client_data = this;  // kept by jpeg_create_compress, for the destination below
        destination.init_destination = StartBuffer;
        destination.empty_output_buffer = GrowBuffer;
        destination.term_destination = EndBuffer;
    }
    ~Compressor() { jpeg_destroy_compress(&info); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    // Runs inside libjpeg, so reports running out of memory through libjpeg, not by throwing.
    static void GrowTo(j_compress_ptr info, std::size_t size) {
        std::vector<JOCTET>& bytes = static_cast<Compressor*>(info->client_data)->bytes;
        const std::size_t used = bytes.size();
        bool grown = true;
        try {
            bytes.resize(size);
        } catch (const std::bad_alloc&) {
            grown = false;
        }
        if (!grown) {
            ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
        }
        info->dest->next_output_byte = bytes.data() + used;
        info->dest->free_in_buffer = bytes.size() - used;
    }
    static void StartBuffer(j_compress_ptr info) { GrowTo(info, 64 * 1024); }
    // Called when the buffer is full, whatever free_in_buffer says.
    static boolean GrowBuffer(j_compress_ptr info) {
        GrowTo(info, 2 * static_cast<Compressor*>(info->client_data)->bytes.size());
        return TRUE;
    }
    static void EndBuffer(j_compress_ptr info) {
        std::vector<JOCTET>& bytes = static_cast<Compressor*>(info->client_data)->bytes;
        bytes.resize(bytes.size() - info->dest->free_in_buffer);
    }

    jpeg_compress_struct info{};
    ErrorTrap trap{};
    jpeg_destination_mgr destination{};
    std::vector<JOCTET> bytes;
};

// Encodes rgb (Format_RGB888) into the compressor's bytes; the reason it failed, or null.
// Nothing with a destructor lives in this frame, so the long jump back to it skips none.
const char* Encode(Compressor& compressor, const QImage& rgb) {
    jpeg_compress_struct& info = compressor.info;
    if (setjmp(compressor.trap.jump) != 0) {
        return compressor.trap.message;
    }
    jpeg_create_compress(&info);
    info.dest = &compressor.destination;
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);  // baseline: no jpeg_simple_progression
    jpeg_set_quality(&info, kQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads the row; its C signature has no const.
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return nullptr;
}

}  // namespace

QImage ReadJpeg(const QString& path) {
    // A FIFO or a device would block or never end.
    if (QFileInfo source(path); source.exists() && !source.isFile()) {
        Fail("read", path, "it is not a regular file");
    }
    FilePointer file(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file) {
        Fail("read", path, std::error_code(errno, std::generic_category()).message());
    }
    Decompressor decompressor;
    QImage image;
    if (const char* failure = Decode(decompressor, file.get(), image)) {
        Fail("read", path, failure);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

void WriteJpeg(const QImage& image, const QString& path) {
    if (image.isNull()) {
        Fail("write", path, "the picture is empty");
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Compressor compressor;
    if (const char* failure = Encode(compressor, rgb)) {
        Fail("write", path, failure);
    }
    QSaveFile file(path);
    const auto size = static_cast<qint64>(compressor.bytes.size());
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(compressor.bytes.data()), size) != size ||
        !file.commit()) {
        Fail("write", path, file.errorString().toStdString());
    }
}

}  // namespace toolkit
