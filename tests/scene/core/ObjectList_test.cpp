// TsgObjectList: growth, moves, packing, freeing and sorting.
#include "scene/core/Sg_classes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Named : public TObject {
public:
    explicit Named(std::string n, std::vector<std::string>* freed = nullptr)
        : name(std::move(n)), log(freed) {}
    ~Named() override {
        if (log)
            log->push_back(name);
    }
    std::string name;
    std::vector<std::string>* log;
};

std::string Names(const TsgObjectList& list) {
    std::string s;
    for (int i = 0; i < list.Count(); ++i)
        s += list.Get(i) ? static_cast<Named*>(list.Get(i))->name : "-";
    return s;
}

struct Letters {
    std::vector<std::unique_ptr<Named>> items;
    TsgObjectList list;
    explicit Letters(const std::string& letters) {
        for (char c : letters) {
            items.push_back(std::make_unique<Named>(std::string(1, c)));
            list.Add(items.back().get());
        }
    }
};

TEST(ObjectList, GrowsByItsStep) {
    TsgObjectList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(list.GrowthDelta(), 16);
    EXPECT_EQ(list.Pop(), nullptr);
    EXPECT_EQ(list.IndexOf(nullptr), -1);
    for (int i = 0; i < 16; ++i)
        list.Add(nullptr);
    EXPECT_EQ(list.Capacity(), 16);
    list.Add(nullptr);
    EXPECT_EQ(list.Capacity(), 32);
    list.AddNils(20);
    EXPECT_EQ(list.Capacity(), 37);
    list.SetCount(3);
    EXPECT_EQ(list.Capacity(), 37);
    list.SetCapacity(2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.AddObjects(nullptr), 0);
    EXPECT_THROW(list.Get(2), EListError);
}

TEST(ObjectList, MovesInsertsAndPacks) {
    struct {
        int from, to;
        const char* result;
    } moves[] = {{2, 5, "ABDEFCG"}, {5, 2, "ABFCDEG"}, {0, 6, "BCDEFGA"}, {3, 3, "ABCDEFG"}};
    for (const auto& m : moves) {
        Letters l("ABCDEFG");
        l.list.Move(m.from, m.to);
        EXPECT_EQ(Names(l.list), m.result);
    }
    Letters l("AB");
    l.list.Insert(1, nullptr);
    l.list.InsertNils(0, 2);
    l.list.Add(nullptr);
    EXPECT_EQ(Names(l.list), "--A-B-");
    l.list.Pack();
    EXPECT_EQ(Names(l.list), "AB");
    l.list.Exchange(0, 1);
    EXPECT_EQ(Names(l.list), "BA");
    Letters other("CD");
    EXPECT_EQ(l.list.AddObjects(&other.list), 2);
    EXPECT_EQ(Names(l.list), "BACD");
    l.list.DeleteItems(1, 2);
    EXPECT_EQ(Names(l.list), "BD");
    EXPECT_EQ(l.list.Remove(other.items[1].get()), 1);
    EXPECT_EQ(l.list.Remove(other.items[1].get()), -1);
    EXPECT_EQ(l.list.Pop(), l.items[1].get());
}

TEST(ObjectList, SortsWithTheComparison) {
    Letters l("DBFACEG");
    l.list.Sort([](TObject* a, TObject* b) {
        return static_cast<Named*>(a)->name.compare(static_cast<Named*>(b)->name);
    });
    EXPECT_EQ(Names(l.list), "ABCDEFG");
}

TEST(ObjectList, FreeingOperationsFreeExactlyTheirItems) {
    std::vector<std::string> freed;
    TsgObjectList list;
    for (const char* n : {"a", "b", "c", "d", "e"})
        list.Add(new Named(n, &freed));
    list.DeleteAndFree(0);
    list.DeleteAndFreeItems(2, 10);
    list.RemoveAndFree(list.Get(0));
    EXPECT_EQ(freed, (std::vector<std::string>{"a", "d", "e", "b"}));
    auto* rest = new TsgObjectList;
    rest->AddObjects(&list);
    list.Clear();
    TsgObjectList::CleanFree(rest);
    EXPECT_EQ(rest, nullptr);
    EXPECT_EQ(freed.back(), "c");
}

// Takes itself out of the list when freed, and frees the child it owns (also in the list).
class Owning : public TObject {
public:
    Owning(TsgObjectList& l, int& count, Owning* c = nullptr) : list(l), frees(count), child(c) {}
    ~Owning() override {
        ++frees;
        list.Remove(this);
        delete child;
    }
    TsgObjectList& list;
    int& frees;
    Owning* child;
};

TEST(ObjectList, CleanSkipsSlotsThatFreeingEmptied) {
    TsgObjectList list;
    int frees = 0;
    list.Add(new Owning(list, frees));
    list.Add(new Owning(list, frees));
    auto* child = new Owning(list, frees);
    list.Add(child);
    list.Add(new Owning(list, frees, child)); // freeing it frees the item before it too
    list.Clean(); // a double free here would be reported by the sanitizer
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(frees, 4);
}

} // namespace
