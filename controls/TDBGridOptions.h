#pragma once
#include <cstdint>
#include <initializer_list>

// The options of a record grid, in their declared order.
enum class TDBGridOption {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
};

// A set of grid options.
class TDBGridOptions {
public:
    TDBGridOptions() = default;
    TDBGridOptions(std::initializer_list<TDBGridOption> options)
    {
        for (TDBGridOption option : options)
            bits_ |= bit(option);
    }

    bool has(TDBGridOption option) const { return bits_ & bit(option); }
    TDBGridOptions with(TDBGridOption option) const { return fromBits(bits_ | bit(option)); }
    TDBGridOptions without(TDBGridOption option) const { return fromBits(bits_ & ~bit(option)); }
    bool operator==(const TDBGridOptions& other) const { return bits_ == other.bits_; }

    // The set a grid starts with; a Korean system also shows the editor always.
    static TDBGridOptions defaults(bool korean = false)
    {
        TDBGridOptions set{
            TDBGridOption::dgEditing,      TDBGridOption::dgTitles,        TDBGridOption::dgIndicator,
            TDBGridOption::dgColumnResize, TDBGridOption::dgColLines,      TDBGridOption::dgRowLines,
            TDBGridOption::dgTabs,         TDBGridOption::dgConfirmDelete, TDBGridOption::dgCancelOnExit};
        return korean ? set.with(TDBGridOption::dgAlwaysShowEditor) : set;
    }

    // What a grid stores when given this set: row select leaves no room
    // for editing in place.
    TDBGridOptions applyRules() const
    {
        if (!has(TDBGridOption::dgRowSelect))
            return *this;
        return without(TDBGridOption::dgEditing).without(TDBGridOption::dgAlwaysShowEditor);
    }

private:
    static std::uint32_t bit(TDBGridOption option) { return 1u << static_cast<unsigned>(option); }
    static TDBGridOptions fromBits(std::uint32_t bits)
    {
        TDBGridOptions set;
        set.bits_ = bits;
        return set;
    }

    std::uint32_t bits_ = 0;
};
