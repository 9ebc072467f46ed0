// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemErrorText.h"

#include <cerrno>

#include "AtomicFileWriter.h"

namespace dravello {

std::string SystemErrorText(int error_number) {
  switch (error_number) {
    case ENOSPC:
      return "no queda espacio libre en el disco";
    case EDQUOT:
      return "se ha agotado su cuota de disco";
    case EFBIG:
      return "el archivo es demasiado grande para ese disco";
    case EACCES:
    case EPERM:
      return "no tiene permiso para escribir ah\xED";
    case EROFS:
      return "el disco es de s\xF3lo lectura";
    case ENOENT:
    case ENOTDIR:
      return "la carpeta no existe";
    case EISDIR:
      return "ese nombre es el de una carpeta";
    case EINVAL:
      return "ese nombre no es el de un archivo normal";
    case ENAMETOOLONG:
      return "el nombre es demasiado largo";
    case ELOOP:
      return "el nombre lleva a un ciclo de enlaces simb\xF3licos";
    case kForeignLinkError:
      return "es un enlace simb\xF3lico de otro usuario en una carpeta compartida";
    case EIO:
      return "error de lectura o escritura en el disco";
    case ENOMEM:
      return "no queda memoria libre";
    case EMFILE:
    case ENFILE:
      return "hay demasiados archivos abiertos";
    case EBUSY:
    case ETXTBSY:
      return "el archivo est\xE1 en uso";
    default:
      return "error del sistema " + std::to_string(error_number);
  }
}

}  // namespace dravello
