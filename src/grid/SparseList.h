#pragma once
// An owning list indexed by row or column that behaves like an endless list of nulls: reading
// any index is safe, and inserting, deleting, exchanging and moving act as on a full list.
// Only the entries that are set take memory, kept sorted by index, so a record at row 99 999
// costs one entry and a stray index from a damaged form costs nothing more than itself.

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kav {

template <class T> class TSparseList {
public:
    using TEntry = std::pair<int, std::unique_ptr<T>>;

    T* Get(int Index) const {
        auto It = Find(Index);
        return It == FItems.end() || It->first != Index ? nullptr : It->second.get();
    }

    // Stores Item at Index (freeing what was there); a null Item leaves the index empty.
    T* Put(int Index, std::unique_ptr<T> Item) {
        CheckIndex(Index);
        T* Result = Item.get();
        auto It = Find(Index);
        if (It != FItems.end() && It->first == Index) {
            if (Item) {
                It->second = std::move(Item);
            } else {
                FItems.erase(It);
            }
        } else if (Item) {
            FItems.emplace(It, Index, std::move(Item));
        }
        return Result;
    }

    // Removes the entry at Index without moving the others.
    std::unique_ptr<T> Take(int Index) {
        auto It = Find(Index);
        if (It == FItems.end() || It->first != Index) {
            return nullptr;
        }
        std::unique_ptr<T> Result = std::move(It->second);
        FItems.erase(It);
        return Result;
    }

    // An empty slot appears at Index; the entries from Index on move one up.
    void InsertGap(int Index) {
        CheckIndex(Index);
        for (auto It = Find(Index); It != FItems.end(); ++It) {
            ++It->first;
        }
    }

    // The entry at Index is freed; the entries after it move one down.
    void Delete(int Index) {
        CheckIndex(Index);
        auto It = Find(Index);
        if (It != FItems.end() && It->first == Index) {
            It = FItems.erase(It);
        }
        for (; It != FItems.end(); ++It) {
            --It->first;
        }
    }

    void Exchange(int A, int B) {
        CheckIndex(A);
        CheckIndex(B);
        if (A == B) {
            return;
        }
        auto ItA = Find(A);
        auto ItB = Find(B);
        if (ItA != FItems.end() && ItA->first == A && ItB != FItems.end() && ItB->first == B) {
            std::swap(ItA->second, ItB->second);
            return;
        }
        std::unique_ptr<T> ItemA = Take(A);
        std::unique_ptr<T> ItemB = Take(B);
        Put(A, std::move(ItemB));
        Put(B, std::move(ItemA));
    }

    // The entry at From is taken out (later entries move up) and inserted at To.
    void Move(int From, int To) {
        CheckIndex(From);
        CheckIndex(To);
        if (From == To) {
            return;
        }
        std::unique_ptr<T> Item = Take(From);
        Delete(From);
        InsertGap(To);
        Put(To, std::move(Item));
    }

    // Frees every entry at Index or after it, in one step.
    void TruncateFrom(int Index) { FItems.erase(Find(Index), FItems.end()); }

    void Clear() { FItems.clear(); }
    bool Empty() const { return FItems.empty(); }
    size_t Size() const { return FItems.size(); }
    // One past the highest index in use: the count a plain list would have.
    int Count() const { return FItems.empty() ? 0 : FItems.back().first + 1; }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    static void CheckIndex(int Index) {
        if (Index < 0) {
            throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
        }
    }

    typename std::vector<TEntry>::const_iterator Find(int Index) const {
        return std::lower_bound(FItems.begin(), FItems.end(), Index,
                                [](const TEntry& E, int I) { return E.first < I; });
    }
    typename std::vector<TEntry>::iterator Find(int Index) {
        return std::lower_bound(FItems.begin(), FItems.end(), Index,
                                [](const TEntry& E, int I) { return E.first < I; });
    }

    std::vector<TEntry> FItems;
};

} // namespace kav
