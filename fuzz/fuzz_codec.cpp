#include "fuzz_codec.h"
#include "settings/font_record.h"
#include "settings/settings_file.h"

#include "codec/decoders.h"
#include "codec/encoders.h"
#include "codec/encoding_detect.h"
#include "codec/text_reader.h"
#include "convert/hanja_dictionary.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

[[noreturn]] void fail(const char *what, int detail = 0)
{
    std::fprintf(stderr, "tavrilFuzzOne: %s (%d)\n", what, detail);
    std::abort();
}

using Bytes = std::span<const std::uint8_t>;
using Decoder = DecodeResult (*)(Bytes, char16_t *, bool);

void checkDetection(Bytes bytes)
{
    const StreamOpener open = memoryOpener(bytes);
    const EncodingChoice choice = ChooseEncoding(open);
    if (choice.encoding < SJIS || choice.encoding > CP949)
        fail("encoding out of range", choice.encoding);
    if (choice.bom < NoBom || choice.bom > Utf8Bom)
        fail("mark kind out of range", choice.bom);
    if (choice.bom != DetectBom(open))
        fail("mark kind differs between runs");
    if (EncodingLabel(choice.encoding, choice.bom).empty())
        fail("empty label");
    for (int r : {CheckUtf8(open), CheckSjis(open), CheckEuc(open)})
        if (r != CheckPasses && r != CheckFails)
            fail("check result out of range", r);
    const int order = DetectUtf16ByteOrder(open);
    if (order < ByteOrderUndecided || order > ByteOrderBE)
        fail("byte order out of range", order);

    // SkipBom takes a whole mark or nothing; the bytes after it read on unchanged.
    ByteStream stream;
    stream.openMemory(bytes);
    SkipBom(stream);
    std::vector<std::uint8_t> rest(bytes.size() + 1);
    const std::size_t n = stream.read(rest.data(), rest.size());
    const std::size_t skipped = bytes.size() - n;
    if (skipped != 0 && skipped != 2 && skipped != 3)
        fail("mark of odd length", int(skipped));
    if (!std::equal(rest.begin(), rest.begin() + long(n), bytes.begin() + long(skipped)))
        fail("bytes after the mark changed");
}

void checkDecoder(Decoder decode, Bytes bytes, const char *name)
{
    // Whole, then split at a point taken from the input: a piece that ends in a
    // cut-off character carries it into the next, and the result is the same.
    std::vector<char16_t> whole(bytes.size() + 1), split(bytes.size() + 1);
    const DecodeResult all = decode(bytes, whole.data(), true);
    if (all.used != int(bytes.size()) || all.units < 0 || all.units > int(bytes.size()))
        fail(name, all.units);
    const std::size_t cut = bytes.empty() ? 0 : bytes.back() % (bytes.size() + 1);
    const DecodeResult first = decode(bytes.first(cut), split.data(), false);
    if (first.used < 0 || std::size_t(first.used) > cut || cut - std::size_t(first.used) > 3)
        fail("piece left too much unused", first.used);
    const DecodeResult second =
        decode(bytes.subspan(std::size_t(first.used)), split.data() + first.units, true);
    if (first.units + second.units != all.units ||
        !std::equal(whole.begin(), whole.begin() + all.units, split.begin()))
        fail("decoding in two pieces differs", int(cut));
    if (first.unmapped + second.unmapped != all.unmapped ||
        (first.extension || second.extension) != all.extension)
        fail("unreadable codes counted differently in two pieces", all.unmapped);
    // Every unmapped code left a replacement, except a dropped lone EUC-JP byte.
    const auto replaced = std::count_if(whole.begin(), whole.begin() + all.units, [](char16_t u) {
        return u == MissingCharacter || u == ReplacementCharacter;
    });
    if (all.unmapped < 0 || all.unmapped > replaced + 1)
        fail("more unreadable codes than replacements", all.unmapped);
}

void checkDocument(Bytes bytes)
{
    const std::uint8_t knob = bytes.empty() ? 0 : bytes[0];
    for (FileEncoding encoding : {SJIS, UTF16, UTF16LE, UTF16BE, UTF8, EUC, CP949}) {
        ByteStream stream;
        stream.openMemory(bytes);
        TextBuffer text;
        const ReadOutcome outcome = readTextStream(stream, encoding, text);
        const bool wide = encoding == UTF16 || encoding == UTF16LE || encoding == UTF16BE;
        if (outcome.unreadable > bytes.size())
            fail("more unreadable codes than bytes", encoding);
        if (text.size() > (wide ? bytes.size() / 2 : bytes.size()))
            fail("text longer than its file", encoding);
        // The same document read in tiny pieces: no line is ever split.
        ByteStream again;
        again.openMemory(bytes);
        TextBuffer pieces;
        const ReadOutcome inPieces = readTextStream(again, encoding, pieces, 4 + knob % 7);
        if (inPieces.unreadable != outcome.unreadable || inPieces.extension != outcome.extension)
            fail("document read in pieces counts differently", encoding);
        if (pieces.size() != text.size() ||
            (text.size() > 0 &&
             std::memcmp(pieces.data(), text.data(), text.size() * sizeof(char16_t)) != 0))
            fail("document read in pieces differs", encoding);
    }
}

void checkLookup(Bytes bytes)
{
    // The binary search finds exactly what a plain ordered search finds.
    for (std::size_t i = 0; i + 1 < bytes.size() && i < 64; i += 2) {
        const std::uint16_t code = std::uint16_t(bytes[i] << 8 | bytes[i + 1]);
        for (std::span<const CodeEntry> table :
             {std::span<const CodeEntry>(SjisTable), std::span<const CodeEntry>(EucTable),
              std::span<const CodeEntry>(Cp949Table)}) {
            const auto it =
                std::lower_bound(table.begin(), table.end(), code,
                                 [](const CodeEntry &e, std::uint16_t c) { return e.code < c; });
            const char16_t expected =
                it != table.end() && it->code == code ? it->character : MissingCharacter;
            if (LookupCode(table, code) != expected)
                fail("lookup differs", code);
        }
    }
}

// The two settings files are plain files anyone can edit.
void checkSettingsFiles(Bytes bytes)
{
    const QByteArrayView view(reinterpret_cast<const char *>(bytes.data()),
                              qsizetype(bytes.size()));
    WindowSettings settings;
    parseSettings(view, settings);
    clampGeometry(settings);
    if (settings.top < 0 || settings.top > 700 || settings.left < 0 || settings.left > 1000 ||
        settings.width < 100 || settings.width > 2000 || settings.height < 100 ||
        settings.height > 3000)
        fail("geometry outside its limits", settings.width);

    const std::optional<FontRecord> record = FontRecord::fromBytes(view);
    if (record.has_value() != (bytes.size() >= std::size_t(FontRecord::Size)))
        fail("font record read from the wrong size", int(bytes.size()));
    if (record) {
        if (record->toBytes() != view.first(FontRecord::Size))
            fail("font record does not read back", 0);
        (void)record->familyName();
    }
}

// The Hanja dictionary is a text file of the system's; read whatever it holds.
void checkHanjaDictionary(Bytes bytes)
{
    HanjaDictionary dictionary;
    const QByteArray text(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    if (dictionary.loadBytes(text) != HanjaDictionary::Status::Loaded)
        fail("dictionary bytes not loaded");
    if (dictionary.entryCount() > qsizetype(bytes.size() / 4 + 1))
        fail("more entries than lines", int(dictionary.entryCount()));
    // Every reading the index holds is found again, with at least one entry.
    const QString asText = QString::fromUtf8(text);
    for (const QStringView line : QStringView(asText).split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0 && colon < 10000 && line.indexOf(u':', colon + 1) > colon + 1 &&
            !line.startsWith(u'#') && !line.first(colon).contains(QChar::ReplacementCharacter))
            if (dictionary.lookUp(line.first(colon)).isEmpty())
                fail("indexed reading not found");
    }
    (void)dictionary.lookUp(u"\uD55C");
}

// The bytes as UTF-16 units, encoded in each legacy encoding: what the scan
// finds encodable decodes back to the same units.
void checkEncoders(Bytes bytes)
{
    std::vector<char16_t> units(bytes.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    const std::pair<LegacyEncoding, Decoder> encodings[] = {{LegacyEncoding::ShiftJis, &DecodeSjis},
                                                            {LegacyEncoding::EucJp, &DecodeEuc},
                                                            {LegacyEncoding::Cp949, &decodeCp949}};
    std::vector<char> encoded(2 * units.size() + 1);
    std::vector<char16_t> back(2 * units.size() + 1);
    for (const auto &[encoding, decode] : encodings) {
        UnencodableScanner scanner(encoding);
        scanner.scan(units.data(), units.size());
        const Unencodable found = scanner.finish();
        const std::size_t n = encodeLegacy(encoding, encoded.data(), units.data(), units.size());
        if (n > 2 * units.size())
            fail("encoder overran", int(n));
        if (found.count != 0)
            continue;
        const DecodeResult r = decode(
            Bytes(reinterpret_cast<const std::uint8_t *>(encoded.data()), n), back.data(), true);
        if (std::size_t(r.units) != units.size() ||
            !std::equal(units.begin(), units.end(), back.begin()))
            fail("encoded text reads back otherwise", int(encoding));
    }
}

} // namespace

int tavrilFuzzOne(const std::uint8_t *data, std::size_t size)
{
    // Copied, so that reading a byte past the input is caught by the sanitizer.
    std::vector<std::uint8_t> copy(data, data + size);
    const Bytes bytes(copy.data(), copy.size());
    checkDetection(bytes);
    checkDecoder(&DecodeUtf8, bytes, "UTF-8");
    checkDecoder(&DecodeSjis, bytes, "Shift JIS");
    checkDecoder(&DecodeEuc, bytes, "EUC-JP");
    checkDecoder(&decodeCp949, bytes, "CP949");
    checkDocument(bytes);
    checkLookup(bytes);
    checkEncoders(bytes);
    checkSettingsFiles(bytes);
    checkHanjaDictionary(bytes);
    return 0;
}
