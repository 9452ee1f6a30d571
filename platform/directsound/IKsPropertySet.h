#pragma once

/// Driver-specific property sets of a sound buffer.
///
/// This platform mixes no 3D sound and offers no driver property sets: no buffer gives this
/// interface out (`IDirectSoundBuffer::QueryInterface` answers E_NOINTERFACE), so a wrapper's
/// field of this type stays empty. It exists so that the wrapper asks for it as it asks for the
/// notification interface.
class IKsPropertySet {
public:
    virtual ~IKsPropertySet() = default;
};
