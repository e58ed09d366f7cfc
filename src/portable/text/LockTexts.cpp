#include "portable/text/LockTexts.h"

#include <cstring>

#include "portable/text/TextBuffer.h"

namespace {

const size_t LANGUAGES = static_cast<size_t>(LockLanguage::Count);
const size_t TEXTS = static_cast<size_t>(LockText::Count);

// One string a language, its texts in the order of LockText, each ended by a
// NUL: no table of pointers for the 32-bit build to relocate. Written for the
// person at the desk, in the words that language's own Windows uses for a
// lock and a password. The English texts are what FileMaker Pro 5 and 6 show
// too, unchanged.
const char* const TEXT_TABLE[LANGUAGES] = {
    "Please Login\0"
    "Enter your password to enable this station.\0"
    "Password:\0"
    "OK\0"
    "Access Denied\0"
    "Incorrect password\0"
    "Try again in {} s.\0"
    "This workstation locks in {} s.\0"
    "Move or scroll the mouse, or press a key, to stay.\0"
    "Name\0"
    "Workstation\0",
    "Bitte anmelden\0"
    "Geben Sie Ihr Kennwort ein, um diese Arbeitsstation freizugeben.\0"
    "Kennwort:\0"
    "OK\0"
    "Zugriff verweigert\0"
    "Falsches Kennwort\0"
    "Nächster Versuch in {} s.\0"
    "Diese Arbeitsstation wird in {} s gesperrt.\0"
    "Bewegen Sie die Maus, drehen Sie das Mausrad oder drücken Sie eine Taste, um weiterzuarbeiten.\0"
    "Name\0"
    "Arbeitsstation\0",
    "Veuillez vous connecter\0"
    "Saisissez votre mot de passe pour déverrouiller ce poste.\0"
    "Mot de passe\u00a0:\0"
    "OK\0"
    "Accès refusé\0"
    "Mot de passe incorrect\0"
    "Réessayez dans {} s.\0"
    "Ce poste se verrouille dans {} s.\0"
    "Bougez la souris, tournez sa molette ou appuyez sur une touche pour continuer.\0"
    "Nom\0"
    "Poste de travail\0",
    "Effettuare l'accesso\0"
    "Immettere la password per sbloccare questa postazione.\0"
    "Password:\0"
    "OK\0"
    "Accesso negato\0"
    "Password errata\0"
    "Riprovare tra {} s.\0"
    "Questa postazione verrà bloccata tra {} s.\0"
    "Muovere il mouse, girarne la rotellina o premere un tasto per continuare.\0"
    "Nome\0"
    "Postazione\0",
    "Inicie sesión\0"
    "Escriba su contraseña para desbloquear este puesto.\0"
    "Contraseña:\0"
    "Aceptar\0"
    "Acceso denegado\0"
    "Contraseña incorrecta\0"
    "Vuelva a intentarlo en {} s.\0"
    "Este puesto se bloqueará en {} s.\0"
    "Mueva el ratón, gire su rueda o pulse una tecla para continuar.\0"
    "Nombre\0"
    "Puesto de trabajo\0",
    "Aanmelden\0"
    "Voer uw wachtwoord in om dit werkstation te ontgrendelen.\0"
    "Wachtwoord:\0"
    "OK\0"
    "Toegang geweigerd\0"
    "Onjuist wachtwoord\0"
    "Probeer het over {} s opnieuw.\0"
    "Dit werkstation wordt over {} s vergrendeld.\0"
    "Beweeg de muis, draai aan het muiswiel of druk op een toets om door te gaan.\0"
    "Naam\0"
    "Werkstation\0",
    "Logga in\0"
    "Ange ditt lösenord för att låsa upp den här arbetsstationen.\0"
    "Lösenord:\0"
    "OK\0"
    "Åtkomst nekad\0"
    "Fel lösenord\0"
    "Försök igen om {} s.\0"
    "Arbetsstationen låses om {} s.\0"
    "Flytta musen, rulla med mushjulet eller tryck på en tangent för att fortsätta.\0"
    "Namn\0"
    "Arbetsstation\0",
    "Faça login\0"
    "Digite sua senha para desbloquear esta estação de trabalho.\0"
    "Senha:\0"
    "OK\0"
    "Acesso negado\0"
    "Senha incorreta\0"
    "Tente novamente em {} s.\0"
    "Esta estação de trabalho será bloqueada em {} s.\0"
    "Mova o mouse, gire a roda do mouse ou pressione uma tecla para continuar.\0"
    "Nome\0"
    "Estação de trabalho\0",
    "ログイン\0"
    "このワークステーションを使用するには、パスワードを入力してください。\0"
    "パスワード:\0"
    "OK\0"
    "アクセスが拒否されました\0"
    "パスワードが正しくありません\0"
    "{} 秒後にもう一度お試しください。\0"
    "このワークステーションは {} 秒後にロックされます。\0"
    "作業を続けるには、マウスを動かすか、ホイールを回すか、キーを押してください。\0"
    "名前\0"
    "ワークステーション\0",
    "请登录\0"
    "请输入密码以解锁此工作站。\0"
    "密码：\0"
    "确定\0"
    "拒绝访问\0"
    "密码不正确\0"
    "请在 {} 秒后重试。\0"
    "此工作站将在 {} 秒后锁定。\0"
    "移动鼠标、滚动滚轮或按任意键即可继续使用。\0"
    "用户名\0"
    "工作站\0",
    "로그인\0"
    "이 워크스테이션을 사용하려면 암호를 입력하십시오.\0"
    "암호:\0"
    "확인\0"
    "액세스가 거부되었습니다\0"
    "암호가 올바르지 않습니다\0"
    "{}초 후에 다시 시도하십시오.\0"
    "이 워크스테이션은 {}초 후에 잠깁니다.\0"
    "계속 사용하려면 마우스를 움직이거나 휠을 돌리거나 키를 누르십시오.\0"
    "이름\0"
    "워크스테이션\0",
};

// Windows' primary language numbers (the low ten bits of a language ID).
struct PrimaryLanguage {
  uint16_t primary;
  LockLanguage language;
};
const PrimaryLanguage PRIMARY_LANGUAGES[] = {
    {0x07, LockLanguage::German},
    {0x0C, LockLanguage::French},
    {0x10, LockLanguage::Italian},
    {0x0A, LockLanguage::Spanish},
    {0x13, LockLanguage::Dutch},
    {0x1D, LockLanguage::Swedish},
    {0x16, LockLanguage::BrazilianPortuguese},
    {0x11, LockLanguage::Japanese},
    {0x04, LockLanguage::SimplifiedChinese},
    {0x12, LockLanguage::Korean},
};
const uint16_t PRIMARY_LANGUAGE_MASK = 0x3FF;

// Bytes of the UTF-8 character that starts with lead.
size_t CharacterBytes(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Appends text of length bytes to out at used, whole characters only, while
// room is left for the terminator; false where it had to stop short.
bool Append(const char* text, size_t length, char* out, size_t size, size_t& used) {
  for (size_t i = 0; i < length;) {
    size_t n = CharacterBytes(static_cast<unsigned char>(text[i]));
    if (i + n > length || used + n >= size) return false;
    std::memcpy(out + used, text + i, n);
    used += n;
    i += n;
  }
  return true;
}

}  // namespace

LockLanguage LockLanguageOf(uint16_t languageId) {
  uint16_t primary = languageId & PRIMARY_LANGUAGE_MASK;
  for (const PrimaryLanguage& p : PRIMARY_LANGUAGES)
    if (p.primary == primary) return p.language;
  return LockLanguage::English;
}

const char* LockTextIn(LockLanguage language, LockText text) {
  size_t row = static_cast<size_t>(language), column = static_cast<size_t>(text);
  if (row >= LANGUAGES) row = 0;
  if (column >= TEXTS) return "";
  const char* found = TEXT_TABLE[row];
  for (size_t i = 0; i < column; ++i) found += std::strlen(found) + 1;
  return found;
}

size_t FillCountdown(const char* pattern, int32_t seconds, char* out, size_t size) {
  char number[DECIMAL_SIZE];
  size_t count = FormatDecimal(seconds, number);
  size_t used = 0;
  const char* mark = std::strstr(pattern, "{}");
  if (!mark) {
    Append(pattern, std::strlen(pattern), out, size, used);
  } else if (Append(pattern, static_cast<size_t>(mark - pattern), out, size, used) &&
             Append(number, count, out, size, used)) {
    Append(mark + 2, std::strlen(mark + 2), out, size, used);
  }
  out[used] = '\0';
  return used;
}

namespace {

// U+0080 to U+009F, which UTF-8 writes as C2 80 to C2 9F.
bool IsC1Control(const char* at) {
  return static_cast<unsigned char>(at[0]) == 0xC2 && static_cast<unsigned char>(at[1]) >= 0x80 &&
         static_cast<unsigned char>(at[1]) <= 0x9F;
}

}  // namespace

size_t LockMessageForDisplay(const char* message, char* out, size_t size) {
  size_t used = 0;
  for (size_t i = 0; message[i] != '\0';) {
    char c = message[i];
    bool whole;
    if (c == '\r' || c == '\n') {
      whole = used + 2 < size && Append("\r\n", 2, out, size, used);  // both halves or neither
      i += c == '\r' && message[i + 1] == '\n' ? 2 : 1;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || IsC1Control(message + i)) {
      whole = Append(" ", 1, out, size, used);
      i += static_cast<unsigned char>(c) < 0x80 ? 1 : 2;
    } else {
      size_t n = CharacterBytes(static_cast<unsigned char>(c));
      size_t available = 0;
      while (available < n && message[i + available] != '\0') ++available;
      whole = Append(message + i, available, out, size, used);
      i += available;
    }
    if (!whole) break;
  }
  out[used] = '\0';
  return used;
}
