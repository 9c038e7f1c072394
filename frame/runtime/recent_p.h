// A few values made recently, kept for the next one to ask for the same:
// forms use a handful of colours, fonts and captions, made over and over by
// hundreds of controls; a host may use many, and the oldest go then.
#pragma once

#include <cstddef>
#include <vector>

namespace korva {

template <class T, std::size_t N> class Recent {
public:
    // The kept value that `matches`, else the one `make` gives, kept from
    // now on. The reference holds until the next call.
    template <class Matches, class Make> const T& find(Matches&& matches, Make&& make) {
        for (const T& t : kept_)
            if (matches(t))
                return t;
        if (kept_.size() == N)
            kept_.erase(kept_.begin());
        kept_.push_back(make());
        return kept_.back();
    }

private:
    std::vector<T> kept_;
};

} // namespace korva
