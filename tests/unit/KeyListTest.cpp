// The operator's key list: read only when complete and well formed, signed
// over exactly the fields read.
#include <gtest/gtest.h>

#include "common/KeyList.h"

namespace common {
namespace {

const std::string kKey1(128, 'B'), kKey2(128, 'd');

std::string List(const std::string& keys = "keylist-key=k1 " + kKey1 + "\r\nkeylist-key=k.2_x-y " + kKey2 + "\r\n") {
  return "version=1.2.0\r\nsignature=k1:00\r\nkeylist-signed=2027-01-01T12:00:00Z\r\n"
         "keylist-expires= 2027-03-01T12:00:00Z \r\n" + keys + "keylist-signature=" + std::string(128, 'c') + "\r\n";
}

bool Read(const std::string& text) {
  KeyList list;
  return ReadKeyList(text, list);
}

TEST(KeyList, TheListedKeysAreReadInOrderAndTheSignedTextNamesEachField) {
  const std::string text = List();
  KeyList read, *list = &read;
  ASSERT_TRUE(ReadKeyList(text, read));
  EXPECT_EQ(list->expires, "2027-03-01T12:00:00Z") << "trimmed";
  ASSERT_EQ(list->count, 2u);
  EXPECT_EQ(list->keys[1].id, "k.2_x-y");
  EXPECT_EQ(list->keys[0].key[0], 0xBB);
  EXPECT_EQ(list->signature[63], 0xCC);
  EXPECT_EQ(KeyListSignedText(*list), "Velmora update keys\nsigned=2027-01-01T12:00:00Z\nexpires=2027-03-01T12:00:00Z\n"
                                      "key=k1 " + std::string(128, 'b') + "\nkey=k.2_x-y " + kKey2 + "\n");
  EXPECT_EQ(FindListedKey(*list, "k.2_x-y"), &list->keys[1]);
  EXPECT_EQ(FindListedKey(*list, "k2"), nullptr);
  EXPECT_EQ(FindListedKey(*list, ""), nullptr);
  std::string unix = List();
  for (std::size_t at; (at = unix.find("\r\n")) != std::string::npos;) unix.replace(at, 2, "\n");
  KeyList fromUnix;
  ASSERT_TRUE(ReadKeyList(unix, fromUnix));
  EXPECT_EQ(KeyListSignedText(fromUnix), KeyListSignedText(*list));
}

TEST(KeyList, AnIncompleteOrMalformedListIsNoList) {
  EXPECT_FALSE(Read("version=1.2.0\r\nsignature=00\r\n")) << "none at all";
  std::string many;
  for (int i = 0; i < 17; ++i) many += "keylist-key=k" + std::to_string(i) + " " + kKey1 + "\r\n";
  EXPECT_FALSE(Read(List(many))) << "more than sixteen keys";
  many.erase(0, many.find("\r\n") + 2);
  EXPECT_TRUE(Read(List(many))) << "sixteen";
  const std::string broken[] = {std::string(), "keylist-key=k1 " + kKey1 + "\r\nkeylist-key=k1 " + kKey2 + "\r\n",
                                  "keylist-key=k1 " + kKey1.substr(2) + "\r\n", "keylist-key=k1" + kKey1 + "\r\n",
                                  "keylist-key=k/1 " + kKey1 + "\r\n", "keylist-key=" + std::string(33, 'k') + " " + kKey1 + "\r\n",
                                  "keylist-key k1 " + kKey1 + "\r\n", "keylist-signed=2027-01-01T12:00:00Z\r\n",
                                  "keylist-revoked=k0\r\n"};
  for (const std::string& keys : broken)
    EXPECT_FALSE(Read(List(keys))) << keys;
  for (const char* field : {"keylist-signed=", "keylist-expires=", "keylist-signature="}) {
    std::string text = List();
    text.erase(text.find(field), text.find("\r\n", text.find(field)) + 2 - text.find(field));
    EXPECT_FALSE(Read(text)) << "without " << field;
  }
  std::string shortSignature = List();
  shortSignature.erase(shortSignature.rfind("cc"), 2);
  EXPECT_FALSE(Read(shortSignature));
}

}  // namespace
}  // namespace common
