#include "platform/ui/X11Selection.h"

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace x11 {

namespace {

using Clock = std::chrono::steady_clock;

// How long one wait sleeps before the idle step runs again.
constexpr int kIdleSliceMs = 10;
// A list of targets longer than this is no honest answer.
constexpr size_t kMaxTargetBytes = size_t(64) << 10;

struct FreeMalloced {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeMalloced>;

// One exchange with the owner: a private connection and an unmapped window that receives the
// answer, all of it bounded by one deadline.
class Exchange {
public:
    Exchange(const SelectionLimits& limits, const SelectionIdle& idle)
        : limits_(limits), idle_(idle),
          deadline_(Clock::now() + std::chrono::milliseconds(std::max(limits.timeoutMs, 0))) {}
    ~Exchange() {
        if (c_)
            xcb_disconnect(c_);
    }
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    SelectionStatus Open(const std::string& selection) {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name)
            return SelectionStatus::NoDisplay;
        int screenNumber = 0;
        c_ = xcb_connect(name, &screenNumber);
        if (xcb_connection_has_error(c_))
            return SelectionStatus::NoDisplay;
        xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screenNumber && screen.rem; ++i)
            xcb_screen_next(&screen);
        if (!screen.rem)
            return SelectionStatus::NoDisplay;
        selection_ = Atom(selection);
        property_ = Atom("DBI_SELECTION");
        incr_ = Atom("INCR");
        if (!selection_ || !property_ || !incr_)
            return SelectionStatus::NoDisplay;
        Reply<xcb_get_selection_owner_reply_t> owner(
            xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, selection_), nullptr));
        if (!owner)
            return SelectionStatus::NoDisplay;
        if (owner->owner == XCB_NONE)
            return SelectionStatus::NoOwner;
        window_ = xcb_generate_id(c_);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen.data->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        return SelectionStatus::Ok;
    }

    xcb_atom_t Atom(const std::string& name) {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            c_,
            xcb_intern_atom(c_, 0, uint16_t(std::min<size_t>(name.size(), UINT16_MAX)),
                            name.data()),
            nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // The owner's answer for `target`, whose items must have `format` bits (8 or 32).
    SelectionStatus Convert(xcb_atom_t target, uint8_t format, size_t maxBytes,
                            std::vector<uint8_t>& data) {
        data.clear();
        xcb_convert_selection(c_, window_, selection_, target, property_, XCB_CURRENT_TIME);
        xcb_flush(c_);
        auto notify = WaitFor([&](xcb_generic_event_t* e) {
            if ((e->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
                return false;
            auto* n = reinterpret_cast<xcb_selection_notify_event_t*>(e);
            return n->requestor == window_ && n->selection == selection_;
        });
        if (!notify)
            return waitStatus_;
        if (reinterpret_cast<xcb_selection_notify_event_t*>(notify.get())->property == XCB_NONE)
            return SelectionStatus::NotOffered;

        auto first = TakeProperty(maxBytes);
        if (!first)
            return SelectionStatus::Malformed;
        if (first->bytes_after > 0 || ValueLength(*first) > maxBytes)
            return SelectionStatus::TooLarge;
        if (first->type == incr_)
            return ConvertIncrementally(*first, format, maxBytes, data);
        if (first->format != format || first->type == XCB_ATOM_NONE)
            return SelectionStatus::Malformed;
        Append(*first, data);
        return SelectionStatus::Ok;
    }

private:
    // A long answer comes in pieces: each deletion of the property asks the owner for the next
    // one, and an empty piece ends it.
    SelectionStatus ConvertIncrementally(const xcb_get_property_reply_t& announcement,
                                         uint8_t format, size_t maxBytes,
                                         std::vector<uint8_t>& data) {
        // The announced size is a lower bound of the whole.
        if (announcement.format == 32 && ValueLength(announcement) >= 4) {
            uint32_t announced = 0;
            std::memcpy(&announced, xcb_get_property_value(&announcement), 4);
            if (announced > maxBytes)
                return SelectionStatus::TooLarge;
        }
        xcb_flush(c_);
        for (;;) {
            auto piece = WaitFor([&](xcb_generic_event_t* e) {
                if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                    return false;
                auto* n = reinterpret_cast<xcb_property_notify_event_t*>(e);
                return n->window == window_ && n->atom == property_ &&
                       n->state == XCB_PROPERTY_NEW_VALUE;
            });
            if (!piece)
                return waitStatus_;
            auto reply = TakeProperty(maxBytes - data.size());
            if (!reply)
                return SelectionStatus::Malformed;
            if (reply->bytes_after > 0 || data.size() + ValueLength(*reply) > maxBytes)
                return SelectionStatus::TooLarge;
            if (ValueLength(*reply) == 0) {
                xcb_flush(c_);
                return SelectionStatus::Ok;
            }
            if (reply->format != format)
                return SelectionStatus::Malformed;
            Append(*reply, data);
            // Deleting the property (done by the read) asks for the next piece.
            xcb_flush(c_);
        }
    }

    // Reads and deletes the property, at most `maxBytes` of it (and one item more, which shows
    // that there is more than that); the server keeps a longer value and reports what is left.
    Reply<xcb_get_property_reply_t> TakeProperty(size_t maxBytes) {
        const uint32_t items = uint32_t(std::min<size_t>(maxBytes / 4 + 1, UINT32_MAX / 4));
        return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(
            c_, xcb_get_property(c_, 1, window_, property_, XCB_GET_PROPERTY_TYPE_ANY, 0, items),
            nullptr));
    }

    static size_t ValueLength(const xcb_get_property_reply_t& reply) {
        return size_t(std::max(xcb_get_property_value_length(&reply), 0));
    }

    static void Append(const xcb_get_property_reply_t& reply, std::vector<uint8_t>& data) {
        const auto* bytes = static_cast<const uint8_t*>(
            xcb_get_property_value(const_cast<xcb_get_property_reply_t*>(&reply)));
        data.insert(data.end(), bytes, bytes + ValueLength(reply));
    }

    // The first event the predicate accepts (others are dropped), or nullptr with waitStatus_
    // set when the deadline passes or the connection breaks.
    template <class Predicate>
    Reply<xcb_generic_event_t> WaitFor(Predicate accept) {
        const int fd = xcb_get_file_descriptor(c_);
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
                Reply<xcb_generic_event_t> event(e);
                if (accept(e))
                    return event;
            }
            if (xcb_connection_has_error(c_)) {
                waitStatus_ = SelectionStatus::NoDisplay;
                return nullptr;
            }
            if (idle_)
                idle_();
            const auto now = Clock::now();
            if (now >= deadline_) {
                waitStatus_ = SelectionStatus::TimedOut;
                return nullptr;
            }
            // Rounded up, so that the last sleep does not end before the deadline.
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - now).count();
            pollfd p{fd, POLLIN, 0};
            ::poll(&p, 1, int(idle_ ? std::min<long long>(left, kIdleSliceMs) : left));
        }
    }

public:
    size_t MaxBytes() const { return limits_.maxBytes; }

private:
    const SelectionLimits limits_;
    const SelectionIdle& idle_;
    const Clock::time_point deadline_;
    xcb_connection_t* c_ = nullptr;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    xcb_atom_t property_ = XCB_ATOM_NONE;
    xcb_atom_t incr_ = XCB_ATOM_NONE;
    SelectionStatus waitStatus_ = SelectionStatus::TimedOut;
};

// The wanted targets found in the owner's list, in the order of `wanted`.
SelectionStatus ListOffered(Exchange& exchange, const std::vector<std::string>& wanted,
                            std::vector<std::string>& offered) {
    offered.clear();
    std::vector<uint8_t> list;
    const SelectionStatus status = exchange.Convert(
        exchange.Atom("TARGETS"), 32, std::min(exchange.MaxBytes(), kMaxTargetBytes), list);
    if (status != SelectionStatus::Ok)
        return status;
    std::vector<uint32_t> atoms(list.size() / 4);
    std::memcpy(atoms.data(), list.data(), atoms.size() * 4);
    for (const std::string& name : wanted) {
        const xcb_atom_t atom = exchange.Atom(name);
        if (atom != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), atom) != atoms.end())
            offered.push_back(name);
    }
    return SelectionStatus::Ok;
}

} // namespace

const char* SelectionStatusText(SelectionStatus status) {
    switch (status) {
    case SelectionStatus::Ok:
        return "ok";
    case SelectionStatus::NoDisplay:
        return "no X11 display can be reached";
    case SelectionStatus::NoOwner:
        return "nobody holds the selection";
    case SelectionStatus::NotOffered:
        return "the owner does not offer the target";
    case SelectionStatus::TimedOut:
        return "the owner did not answer in time";
    case SelectionStatus::TooLarge:
        return "the answer is too large";
    case SelectionStatus::Malformed:
        return "the answer is malformed";
    }
    return "unknown";
}

SelectionStatus ReadSelection(const std::string& selection, const std::string& target,
                              std::vector<uint8_t>& data, const SelectionLimits& limits,
                              const SelectionIdle& idle) {
    data.clear();
    Exchange exchange(limits, idle);
    SelectionStatus status = exchange.Open(selection);
    if (status != SelectionStatus::Ok)
        return status;
    status = exchange.Convert(exchange.Atom(target), 8, limits.maxBytes, data);
    if (status != SelectionStatus::Ok)
        data.clear();
    return status;
}

SelectionStatus OfferedTargets(const std::string& selection, const std::vector<std::string>& wanted,
                               std::vector<std::string>& offered, const SelectionLimits& limits,
                               const SelectionIdle& idle) {
    offered.clear();
    Exchange exchange(limits, idle);
    const SelectionStatus status = exchange.Open(selection);
    if (status != SelectionStatus::Ok)
        return status;
    return ListOffered(exchange, wanted, offered);
}

SelectionStatus ReadFirstOffered(const std::string& selection,
                                 const std::vector<std::string>& wanted, std::string& target,
                                 std::vector<uint8_t>& data, const SelectionLimits& limits,
                                 const SelectionIdle& idle) {
    target.clear();
    data.clear();
    Exchange exchange(limits, idle);
    SelectionStatus status = exchange.Open(selection);
    if (status != SelectionStatus::Ok)
        return status;
    std::vector<std::string> offered;
    status = ListOffered(exchange, wanted, offered);
    if (status != SelectionStatus::Ok)
        return status;
    if (offered.empty())
        return SelectionStatus::NotOffered;
    status = exchange.Convert(exchange.Atom(offered.front()), 8, limits.maxBytes, data);
    if (status != SelectionStatus::Ok) {
        data.clear();
        return status;
    }
    target = offered.front();
    return SelectionStatus::Ok;
}

} // namespace x11
