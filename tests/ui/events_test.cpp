#include <gtest/gtest.h>

#include <string>

#include "ui/event.h"

namespace {

ui::Handler Record(std::string& log, const char* name, bool stop = false) {
    return [&log, name, stop](ui::Object&, ui::EventData&) {
        log += name;
        return stop;
    };
}

TEST(EventHandlers, RunNewestFirstAndOnlyForTheirEvent) {
    ui::Object object;
    std::string log;
    object.AddHandler(ui::EventId::Close, Record(log, "a"));
    object.AddHandler(ui::EventId::Close, Record(log, "b"));
    object.AddHandler(ui::EventId::Click, Record(log, "x"));
    EXPECT_FALSE(object.Raise(ui::EventId::Close));
    EXPECT_EQ(log, "ba");
}

TEST(EventHandlers, LaterTableEntriesAreNewer) {
    ui::Object object;
    std::string log;
    const ui::EventTable first{{ui::EventId::Close, Record(log, "1")},
                               {ui::EventId::Close, Record(log, "2")}};
    const ui::EventTable second{{ui::EventId::Close, Record(log, "3")}};
    object.AddHandlers(first);
    object.AddHandlers(second);
    object.Raise(ui::EventId::Close);
    EXPECT_EQ(log, "321");
}

TEST(EventHandlers, AHandlerReturningTrueStopsTheChain) {
    ui::Object object;
    std::string log;
    object.AddHandler(ui::EventId::Close, Record(log, "base"));
    object.AddHandler(ui::EventId::Close, Record(log, "refuse", true));
    EXPECT_TRUE(object.Raise(ui::EventId::Close));
    EXPECT_EQ(log, "refuse");
}

TEST(EventHandlers, RemovedTableNoLongerRuns) {
    ui::Object object;
    std::string log;
    const ui::EventTable table{{ui::EventId::Click, Record(log, "t")}};
    object.AddHandlers(table);
    object.AddHandler(ui::EventId::Click, Record(log, "own"));
    object.RemoveHandlers(table);
    object.Raise(ui::EventId::Click);
    EXPECT_EQ(log, "own");
}

TEST(EventHandlers, AHandlerMayUnwireAnOlderTableWhileTheEventRuns) {
    ui::Object object;
    std::string log;
    auto older = std::make_unique<ui::EventTable>(
        ui::EventTable{{ui::EventId::Destroy, Record(log, "old")}});
    object.AddHandlers(*older);
    object.AddHandler(ui::EventId::Destroy, [&](ui::Object& sender, ui::EventData&) {
        log += "new";
        sender.RemoveHandlers(*older);
        older.reset();  // the table is gone: it must not be touched any more
        return false;
    });
    object.Raise(ui::EventId::Destroy);
    EXPECT_EQ(log, "new");
}

}  // namespace

namespace {

TEST(EventHandlers, OnActionsLetTheEventGoOnToOlderHandlers) {
    ui::Object object;
    std::string log;
    object.AddHandler(ui::EventId::Create, Record(log, "old"));
    object.On(ui::EventId::Create, [&](ui::EventData&) { log += "new"; });
    EXPECT_FALSE(object.Raise(ui::EventId::Create));
    EXPECT_EQ(log, "newold");
}

}  // namespace
