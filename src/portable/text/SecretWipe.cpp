#include "portable/text/SecretWipe.h"

void WipeSecret(void* bytes, size_t size) {
  volatile unsigned char* at = static_cast<volatile unsigned char*>(bytes);
  while (size--) *at++ = 0;
}
