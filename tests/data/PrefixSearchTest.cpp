// Prefix searches (partial Locate): a seek on an index led by the field must
// find exactly the record a read of the whole table in the cursor's order
// finds, with letter case folded beyond A-Z (accented capitals, the dotted
// capital I, the Kelvin sign).
#include "CaseVariants.h"
#include "DataModuleFixture.h"
#include "EngineTestTable.h"

#include <random>

namespace {

using Strings = std::vector<std::string>;

// Letters whose case folding differs between A-Z-only and full folding.
const Strings letters = {
    "a", "A", "e", "é", "É", "i", "I", "\xC4\xB0" /* dotted capital I */, "k", "K", "\xE2\x84\xAA" /* Kelvin sign */,
    "o", "ö", "Ö", "s", "ß", " "};

class PrefixSeek : public EngineTestTable {
protected:
    void SetUp() override
    {
        std::mt19937 random(15);
        std::uniform_int_distribution<size_t> letter(0, letters.size() - 1), length(1, 5);
        for (int i = 0; i < 120; ++i) {
            std::string name;
            for (size_t n = length(random); n > 0; --n)
                name += letters[letter(random)];
            EngineRecord record;
            ASSERT_TRUE(cursor->initRecord(record).ok());
            char nip[11];
            std::snprintf(nip, sizeof nip, "%010d", (i * 37) % 120);
            ASSERT_TRUE(cursor->putField(record, field("NIP"), std::string(nip)).ok());
            for (const char* column : {"Nama_Pegawai", "Karpeg", "Alamat"})
                ASSERT_TRUE(cursor->putField(record, field(column), name).ok());
            ASSERT_TRUE(cursor->insertRecord(record).ok());
        }
    }

    // Every one- and two-letter prefix, and some longer ones.
    static Strings prefixes()
    {
        Strings out = {"", "ÉÉÉ", "kİk", "İKİ", "\xE2\x84\xAAKk", "aéiko", "ÖöÖö", "IIIII", "é\xFF"};
        for (const std::string& first : letters) {
            out.push_back(first);
            for (const std::string& second : letters)
                out.push_back(first + second);
        }
        return out;
    }

    // The bookmark found, 0 for none.
    static std::int64_t found(EngineStatus status, const EngineRecord& record)
    {
        if (status.code == EngineCode::RecordNotFound)
            return 0;
        EXPECT_TRUE(status.ok()) << status.message;
        return record.bookmark;
    }
};

TEST_P(PrefixSeek, FindsWhatAReadOfTheWholeTableFinds)
{
    int hits = 0;
    for (const std::string order : {"", "Nama_Pegawai", "Karpeg"}) {
        std::unique_ptr<EngineCursor> search;
        ASSERT_TRUE(cursor->cloneCursor(order, search).ok());
        for (const char* column : {"Nama_Pegawai", "Karpeg", "NIP", "Alamat"}) {
            for (const std::string& prefix : prefixes()) {
                SCOPED_TRACE(order + " / " + column + " / " + prefix);
                EngineRecord seek, scan;
                std::int64_t fast = found(search->findPrefix(field(column), prefix, seek), seek);
                std::int64_t slow = found(search->EngineCursor::findPrefix(field(column), prefix, scan), scan);
                EXPECT_EQ(fast, slow);
                if (fast != 0 && fast == slow) {
                    EXPECT_EQ(seek.values, scan.values);  // the whole record, however it was found
                }
                hits += fast != 0;
            }
        }
    }
    EXPECT_GT(hits, 500);  // the names do begin with most prefixes
}

// The search with its window must show what the whole-table read finds and
// the single steps around it read, the cursor left on the record found.
TEST_P(PrefixSeek, SearchWithItsWindowMatchesAReadOfTheWholeTable)
{
    int nip = field("NIP");
    auto nips = [nip](const std::vector<EngineRecord>& records) {
        std::vector<std::string> out;
        for (const EngineRecord& record : records)
            out.push_back(record.values[static_cast<size_t>(nip)].value_or("<null>"));
        return out;
    };
    for (const std::string order : {"Nama_Pegawai", "", "Karpeg"}) {
        std::unique_ptr<EngineCursor> search, reference;
        ASSERT_TRUE(cursor->cloneCursor(order, search).ok());
        ASSERT_TRUE(cursor->cloneCursor(order, reference).ok());
        for (const std::string& prefix : prefixes()) {
            for (auto [before, after] : {std::pair{4, 5}, {0, 0}, {200, 1}}) {
                SCOPED_TRACE(order + " / " + prefix + " / " + std::to_string(before) + "," + std::to_string(after));
                EngineRecord record, scan;
                std::vector<EngineRecord> above, below, stepsAbove, stepsBelow;
                EngineStatus status = search->findPrefix(field("Nama_Pegawai"), prefix, record);
                if (status.ok())
                    status = search->getRecordsAround(record, before, after, above, below);
                std::int64_t fast = found(status, record);
                std::int64_t slow =
                    found(reference->EngineCursor::findPrefix(field("Nama_Pegawai"), prefix, scan), scan);
                ASSERT_EQ(fast, slow);
                if (slow == 0)
                    continue;
                EXPECT_EQ(record.values, scan.values);
                ASSERT_TRUE(reference->setToBookmark(slow).ok());
                ASSERT_TRUE(reference->EngineCursor::getPriorRecords(before, stepsAbove).ok());
                ASSERT_TRUE(reference->setToBookmark(slow).ok());
                ASSERT_TRUE(reference->EngineCursor::getNextRecords(after, stepsBelow).ok());
                EXPECT_EQ(nips(above), nips(stepsAbove));
                EXPECT_EQ(nips(below), nips(stepsBelow));
                EngineRecord standing;
                ASSERT_TRUE(search->getRecord(standing).ok());
                EXPECT_EQ(standing.bookmark, slow);
            }
        }
    }
}

TEST(CaseVariantsTest, FoldsBeyondAToZ)
{
    EXPECT_EQ(CaseVariants::of(U'i'), (std::vector<char32_t>{U'I', U'i', 0x130}));
    EXPECT_EQ(CaseVariants::of(U'K'), (std::vector<char32_t>{U'K', U'k', 0x212A}));
    EXPECT_EQ(CaseVariants::of(U'É'), (std::vector<char32_t>{U'É', U'é'}));
    EXPECT_EQ(CaseVariants::of(U'7'), (std::vector<char32_t>{U'7'}));
    size_t covered = 0;
    // An index that folds A-Z needs one spelling per non-ASCII capital only.
    EXPECT_EQ(CaseVariants::spellings("Ék", true, 16, covered),
              (Strings{"Ék", "É\xE2\x84\xAA", "ék", "é\xE2\x84\xAA"}));
    EXPECT_EQ(covered, 2u);
    EXPECT_EQ(CaseVariants::spellings("ab", false, 16, covered), (Strings{"AB", "Ab", "aB", "ab"}));
    // Beyond the limit only the leading characters are spelled out.
    EXPECT_EQ(CaseVariants::spellings("abcde", false, 8, covered).size(), 8u);
    EXPECT_EQ(covered, 3u);
    EXPECT_TRUE(CaseVariants::spellings("", true, 8, covered).empty());
}

class LocateOnNames : public DataModuleFixture {
protected:
    void SetUp() override
    {
        DataModuleFixture::SetUp();
        addEmployee("1000000001", "émilie");
        addEmployee("1000000002", "\xC4\xB0"
                                  "brahim");  // dotted capital I
        addEmployee("1000000003", "Émile");
        addEmployee("1000000004", "ibnu");
        addEmployee("1000000005", "\xE2\x84\xAA"
                                  "artini");  // Kelvin sign
        addEmployee("1000000006", "kasim");
        addEmployee("1000000007", "Ömer");
    }
};

TEST_F(LocateOnNames, FoldsLetterCaseBeyondAToZInEitherOrdering)
{
    // In NIP order, the first name that begins with the text.
    peg().First();
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "ÉMI", true));
    EXPECT_EQ(current(), "1000000001");
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "i", true));
    EXPECT_EQ(current(), "1000000002");
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "KA", true));
    EXPECT_EQ(current(), "1000000005");
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "öM", true));
    EXPECT_EQ(current(), "1000000007");

    // In name order, first as the name index sorts: A-Z folded, other letters by their code.
    peg().SetIndexFieldNames("Nama_Pegawai");
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "émi", true));
    EXPECT_EQ(current(), "1000000003");
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "I", true));
    EXPECT_EQ(current(), "1000000004");
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "k", true));
    EXPECT_EQ(current(), "1000000006");

    EXPECT_FALSE(peg().Locate("Nama_Pegawai", "émilie z", true));
    EXPECT_EQ(current(), "1000000006") << "no match leaves the current record";
    EXPECT_FALSE(peg().Locate("Nama_Pegawai", "Émilie", false)) << "exact search keeps letter case";
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "émilie", false));
    EXPECT_EQ(current(), "1000000001");
}

// Matches that lie far into the cursor's order, past the rows a search looks
// at first, and matches that lie early in it while the name ranges are long:
// either way the first in the cursor's order is found, in any spelling.
using FarPrefixSeek = EngineTestTable;

TEST_P(FarPrefixSeek, FindsTheFirstInTheCursorsOrderWhereverItLies)
{
    char nip[11];
    for (int i = 0; i < 700; ++i) {
        std::snprintf(nip, sizeof nip, "%010d", 1000 + i);
        add(nip, (i % 2 ? "Budi " : "budi ") + std::to_string(i), std::to_string(900000 - i));
    }
    add("0000009650", "\xC3\x96mer Tua", "1");   // "Ömer"
    add("0000009620", "\xC3\xB6mer Muda", "3");  // "ömer", the first in NIP order
    add("0000009690", "\xC3\x96MER", "0");       // the first in Karpeg and in name order
    add("0000009700",
        "\xC4\xB0"
        "brahim",
        "4");  // dotted capital I
    add("0000009710", "ibnu", "5");

    struct Case {
        const char* order;
        const char* prefix;
        const char* nip;
    };
    const Case cases[] = {
        {"", "öm", "0000009620"},        {"Nama_Pegawai", "ÖM", "0000009690"},
        {"Karpeg", "Öme", "0000009690"}, {"", "i", "0000009700"},
        {"Karpeg", "I", "0000009700"},   {"", "IBN", "0000009710"},
        {"", "budi 69", "0000001069"},   {"Karpeg", "BUDI 6", "0000001699"},
        {"", "b", "0000001000"},         {"Nama_Pegawai", "budi 1", "0000001001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.order) + " / " + c.prefix);
        std::unique_ptr<EngineCursor> search;
        ASSERT_TRUE(cursor->cloneCursor(c.order, search).ok());
        EngineRecord record;
        ASSERT_TRUE(search->findPrefix(field("Nama_Pegawai"), c.prefix, record).ok());
        EXPECT_EQ(value(record, "NIP"), c.nip);
        EngineRecord whole;
        ASSERT_TRUE(search->EngineCursor::findPrefix(field("Nama_Pegawai"), c.prefix, whole).ok());
        EXPECT_EQ(record.values, whole.values);
    }
    std::unique_ptr<EngineCursor> search;
    ASSERT_TRUE(cursor->cloneCursor("", search).ok());
    EngineRecord none;
    EXPECT_EQ(search->findPrefix(field("Nama_Pegawai"), "ömer x", none).code, EngineCode::RecordNotFound);
    EXPECT_EQ(search->findPrefix(field("Nama_Pegawai"), "zz", none).code, EngineCode::RecordNotFound);
}

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(PrefixSeek);
INSTANTIATE_FOR_BOTH_ENGINES(FarPrefixSeek);
