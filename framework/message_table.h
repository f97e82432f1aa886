#pragma once
// Ordered, static message tables: the first entry that matches handles the
// message. A table reads top to bottom like the window's documentation.

#include <windows.h>

#include <cstddef>

struct Message {
    HWND window;
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool handled = true;  // a handler clears it to let the next entries see the message
    // The header of a WM_NOTIFY (or its reflection), checked once as the
    // framework takes the message: it lies in readable memory and names a
    // window of this thread. Null for anything else, such as a header another
    // program made up. Every reader of an NMHDR goes here.
    const NMHDR* notification = nullptr;

    WORD CommandId() const { return LOWORD(wParam); }
    WORD NotifyCode() const { return HIWORD(wParam); }
};

// True when |size| bytes at |address| lie in committed memory of this process
// that can be read, or read and written.
bool IsReadableMemory(const void* address, std::size_t size);
bool IsWritableMemory(const void* address, std::size_t size);

template <class T>
struct MessageEntry {
    enum class Kind : unsigned char { Message, MessageOf, Command, CommandCode, Notify, NotifyFrom, Range, Chain };
    using Handler = void (T::*)(Message&);
    using IdOf = UINT (*)(const T&);
    using Chain = bool (*)(T&, Message&);

    Kind kind;
    UINT first = 0;  // message, or command id
    UINT last = 0;   // end of a range (inclusive)
    UINT code = 0;   // notification code
    Handler handler = nullptr;
    IdOf idOf = nullptr;
    Chain chain = nullptr;
    // A notification's whole record, which its handler reads and may answer in.
    std::size_t record = 0;

    bool Matches(const T& self, const Message& m) const {
        switch (kind) {
        case Kind::Message: return m.id == first;
        case Kind::MessageOf: { UINT id = idOf(self); return id != 0 && m.id == id; }
        case Kind::Command: return m.id == WM_COMMAND && m.CommandId() == first;
        case Kind::CommandCode: return m.id == WM_COMMAND && m.CommandId() == first && m.NotifyCode() == code;
        case Kind::Notify:
        case Kind::NotifyFrom: {
            const NMHDR* header = m.id == WM_NOTIFY ? m.notification : nullptr;
            return header && header->code == code && (kind == Kind::Notify || header->idFrom == first) &&
                   (record <= sizeof(NMHDR) || IsWritableMemory(header, record));
        }
        case Kind::Range: return m.id >= first && m.id <= last;
        case Kind::Chain: return true;
        }
        return false;
    }
};

template <class T>
constexpr MessageEntry<T> OnMessage(UINT id, void (T::*h)(Message&)) {
    return {MessageEntry<T>::Kind::Message, id, id, 0, h};
}
// A message whose number is known only at run time (a registered message).
template <class T>
constexpr MessageEntry<T> OnMessageOf(UINT (*idOf)(const T&), void (T::*h)(Message&)) {
    return {MessageEntry<T>::Kind::MessageOf, 0, 0, 0, h, idOf};
}
template <class T>
constexpr MessageEntry<T> OnCommand(UINT id, void (T::*h)(Message&)) {
    return {MessageEntry<T>::Kind::Command, id, id, 0, h};
}
template <class T>
constexpr MessageEntry<T> OnCommand(UINT id, UINT code, void (T::*h)(Message&)) {
    return {MessageEntry<T>::Kind::CommandCode, id, id, code, h};
}
// |Record| is the notification's structure as the handler reads it.
template <class Record = NMHDR, class T>
constexpr MessageEntry<T> OnNotify(UINT code, void (T::*h)(Message&)) {
    return {MessageEntry<T>::Kind::Notify, 0, 0, code, h, nullptr, nullptr, sizeof(Record)};
}
// A notification code from one control, by its id.
template <class Record = NMHDR, class T>
constexpr MessageEntry<T> OnNotify(UINT controlId, UINT code, void (T::*h)(Message&)) {
    return {MessageEntry<T>::Kind::NotifyFrom, controlId, controlId, code, h, nullptr, nullptr, sizeof(Record)};
}
template <class T>
constexpr MessageEntry<T> OnRange(UINT first, UINT last, void (T::*h)(Message&)) {
    return {MessageEntry<T>::Kind::Range, first, last, 0, h};
}
template <class>
struct MemberOwner;
template <class C, class M>
struct MemberOwner<M C::*> {
    using type = C;
};
// Hands the message to a member's own table (for example the skin's handlers).
template <auto Member, class T = typename MemberOwner<decltype(Member)>::type>
constexpr MessageEntry<T> ChainTo() {
    return {MessageEntry<T>::Kind::Chain, 0, 0, 0, nullptr, nullptr,
            [](T& self, Message& m) { return (self.*Member).ProcessMessage(m); }};
}
// Hands the message to the base class's table.
template <class T, class Base>
constexpr MessageEntry<T> ChainToBase() {
    return {MessageEntry<T>::Kind::Chain, 0, 0, 0, nullptr, nullptr,
            [](T& self, Message& m) { return self.Base::ProcessMessage(m); }};
}

// Returns true when an entry handled the message.
template <class T, std::size_t N>
bool DispatchTable(const MessageEntry<T> (&table)[N], T& self, Message& m) {
    for (const MessageEntry<T>& entry : table) {
        if (!entry.Matches(self, m)) continue;
        if (entry.kind == MessageEntry<T>::Kind::Chain) {
            if (entry.chain(self, m)) return true;
            continue;
        }
        m.handled = true;
        (self.*entry.handler)(m);
        if (m.handled) return true;
    }
    return false;
}
