// Marks of the start-up's steps on the debug output, for the bench's build of the program (ESMALVIO_SEGNI); the
// program as shipped has none.
#pragma once

namespace quilmora {

#ifdef ESMALVIO_SEGNI
void Segno(const char* passo);
#else
inline void Segno(const char*) {}
#endif

}  // namespace quilmora
