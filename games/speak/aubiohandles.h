#pragma once

// Owners of aubio's objects, so that every way out of an analysis frees them.

#include <memory>
#include <type_traits>

#include <aubio/aubio.h>

namespace games {

static_assert(std::is_same_v<smpl_t, float>, "the speech analysis hands aubio float samples");

template <auto Delete> struct AubioDelete
{
    template <typename T> void operator()(T* object) const { Delete(object); }
};

using AubioSource = std::unique_ptr<aubio_source_t, AubioDelete<del_aubio_source>>;
using AubioResampler = std::unique_ptr<aubio_resampler_t, AubioDelete<del_aubio_resampler>>;
using AubioPvoc = std::unique_ptr<aubio_pvoc_t, AubioDelete<del_aubio_pvoc>>;
using AubioMfcc = std::unique_ptr<aubio_mfcc_t, AubioDelete<del_aubio_mfcc>>;
using AubioPitch = std::unique_ptr<aubio_pitch_t, AubioDelete<del_aubio_pitch>>;
using AubioFvec = std::unique_ptr<fvec_t, AubioDelete<del_fvec>>;
using AubioCvec = std::unique_ptr<cvec_t, AubioDelete<del_cvec>>;

// Samples the caller owns, seen as aubio's vector by the functions that only read it.
inline fvec_t aubioView(const float* samples, uint_t count) { return fvec_t { count, const_cast<float*>(samples) }; }

}
