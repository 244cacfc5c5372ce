// Another program holding the clipboard of an X11 display, for the tests of the side that reads
// it: a thread with its own connection offers the targets it is given, lists them under
// TARGETS, hands a long answer over in pieces when asked to, and can misbehave as a slow or
// hostile owner would.
#pragma once

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class ClipboardOwner {
public:
    struct Offer {
        std::string target;
        std::string bytes;
    };
    enum class Behaviour {
        Answer,       // answers every request
        Silent,       // never answers
        Stall,        // starts a piecewise answer, gives its first piece and then nothing
        AnnounceHuge, // starts a piecewise answer announcing 2 GB, and gives nothing
        Understate,   // announces a piecewise answer of 1 byte, then gives all of it
    };

    // pieceSize 0 answers in one piece; otherwise answers longer than it go piece by piece.
    ClipboardOwner(const std::string& display, std::vector<Offer> offers,
                   Behaviour behaviour = Behaviour::Answer, size_t pieceSize = 0)
        : offers_(std::move(offers)), behaviour_(behaviour), pieceSize_(pieceSize) {
        std::promise<bool> ready;
        holding_ = ready.get_future().share();
        thread_ = std::thread([this, display, r = std::move(ready)]() mutable { Run(display, r); });
    }
    ~ClipboardOwner() {
        stop_ = true;
        thread_.join();
    }
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;

    // Whether the thread took the clipboard (waits until it knows).
    bool Holding() const { return holding_.get(); }

private:
    struct Transfer {
        xcb_window_t window;
        xcb_atom_t property;
        xcb_atom_t type;
        const std::string* bytes;
        size_t sent;
    };

    xcb_atom_t Atom(const std::string& name) {
        auto* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, uint16_t(name.size()), name.data()), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    void Run(const std::string& display, std::promise<bool>& ready) {
        c_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(c_)) {
            xcb_disconnect(c_);
            ready.set_value(false);
            return;
        }
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        const xcb_window_t window = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const xcb_atom_t clipboard = Atom("CLIPBOARD"), targets = Atom("TARGETS"),
                         incr = Atom("INCR");
        std::vector<xcb_atom_t> offered{targets};
        for (const Offer& offer : offers_)
            offered.push_back(Atom(offer.target));
        xcb_set_selection_owner(c_, window, clipboard, XCB_CURRENT_TIME);
        auto* owner =
            xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, clipboard), nullptr);
        const bool holding = owner && owner->owner == window;
        std::free(owner);
        ready.set_value(holding);

        std::vector<Transfer> transfers;
        const int fd = xcb_get_file_descriptor(c_);
        while (!stop_ && !xcb_connection_has_error(c_)) {
            pollfd p{fd, POLLIN, 0};
            ::poll(&p, 1, 20);
            while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
                const uint8_t type = e->response_type & 0x7f;
                if (type == XCB_SELECTION_REQUEST)
                    Answer(*reinterpret_cast<xcb_selection_request_event_t*>(e), offered, incr,
                           transfers);
                else if (type == XCB_PROPERTY_NOTIFY)
                    NextPiece(*reinterpret_cast<xcb_property_notify_event_t*>(e), transfers);
                std::free(e);
            }
            xcb_flush(c_);
        }
        xcb_disconnect(c_);
    }

    void Answer(const xcb_selection_request_event_t& r, const std::vector<xcb_atom_t>& offered,
                xcb_atom_t incr, std::vector<Transfer>& transfers) {
        if (behaviour_ == Behaviour::Silent)
            return;
        xcb_atom_t property = r.property == XCB_NONE ? r.target : r.property;
        const auto found = std::find(offered.begin(), offered.end(), r.target);
        if (found == offered.end()) {
            property = XCB_NONE;
        } else if (found == offered.begin()) {
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, r.requestor, property, XCB_ATOM_ATOM, 32,
                                uint32_t(offered.size()), offered.data());
        } else {
            const std::string& bytes = offers_[size_t(found - offered.begin()) - 1].bytes;
            if (behaviour_ != Behaviour::Answer || (pieceSize_ && bytes.size() > pieceSize_)) {
                const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(c_, r.requestor, XCB_CW_EVENT_MASK, &events);
                const uint32_t size = behaviour_ == Behaviour::AnnounceHuge ? 0x7FFFFFFFu
                                      : behaviour_ == Behaviour::Understate
                                          ? 1u
                                          : uint32_t(bytes.size());
                xcb_change_property(c_, XCB_PROP_MODE_REPLACE, r.requestor, property, incr, 32, 1,
                                    &size);
                transfers.push_back({r.requestor, property, r.target, &bytes, 0});
            } else {
                xcb_change_property(c_, XCB_PROP_MODE_REPLACE, r.requestor, property, r.target, 8,
                                    uint32_t(bytes.size()), bytes.data());
            }
        }
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = r.time;
        notify.requestor = r.requestor;
        notify.selection = r.selection;
        notify.target = r.target;
        notify.property = property;
        xcb_send_event(c_, 0, r.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
    }

    // The reader deleted the property: it wants the next piece (an empty one ends).
    void NextPiece(const xcb_property_notify_event_t& n, std::vector<Transfer>& transfers) {
        if (n.state != XCB_PROPERTY_DELETE)
            return;
        for (auto t = transfers.begin(); t != transfers.end(); ++t) {
            if (t->window != n.window || t->property != n.atom)
                continue;
            if (behaviour_ == Behaviour::AnnounceHuge ||
                (behaviour_ == Behaviour::Stall && t->sent > 0))
                return;
            const size_t piece = pieceSize_ ? pieceSize_ : t->bytes->size();
            const size_t length = std::min(piece, t->bytes->size() - t->sent);
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, t->window, t->property, t->type, 8,
                                uint32_t(length), t->bytes->data() + t->sent);
            t->sent += length;
            if (length == 0)
                transfers.erase(t);
            return;
        }
    }

    const std::vector<Offer> offers_;
    const Behaviour behaviour_;
    const size_t pieceSize_;
    xcb_connection_t* c_ = nullptr;
    std::atomic<bool> stop_{false};
    std::shared_future<bool> holding_;
    std::thread thread_;
};

} // namespace testsupport
