#pragma once

// The capture file lrfcapturacontas.xml: a "sistema" element holding
// cadastro > opcao > tipo > conta > periodicidade > dados, each level a typed
// element class with its attributes in the court's order.

#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <functional>
#include <memory>

namespace orven::capture {

// The court's schema namespace.
inline constexpr const char *kNamespaceUri = "http://www.tce.gov.br/lrfcapturaSchema";
inline constexpr const char *kFileName = "lrfcapturacontas.xml";

// Common base of the typed element classes: a handle on one element.
class XmlElement {
public:
    XmlElement() = default;
    explicit XmlElement(pugi::xml_node node) : m_node(node) {}
    bool isNull() const { return !m_node; }
    QString attribute(const char *name) const;
    void setAttribute(const char *name, const QString &value);
    int count(const char *itemName) const;
    pugi::xml_node node() const { return m_node; }

protected:
    pugi::xml_node addChild(const char *itemName);
    pugi::xml_node insertChild(const char *itemName, int index);
    pugi::xml_node child(const char *itemName, int index) const;

    pugi::xml_node m_node;
};

#define ORVEN_XML_ATTR(getter, setter, attr)                                                                           \
    QString getter() const { return attribute(attr); }                                                                 \
    void setter(const QString &v) { setAttribute(attr, v); }

#define ORVEN_XML_ITEMS(ItemType, itemName)                                                                            \
    int count() const { return XmlElement::count(itemName); }                                                          \
    ItemType item(int index) const { return ItemType(child(itemName, index)); }                                        \
    ItemType add() { return ItemType(addChild(itemName)); }                                                            \
    ItemType insert(int index) { return ItemType(insertChild(itemName, index)); }

class TXMLDadosType : public XmlElement {
public:
    using XmlElement::XmlElement;
    ORVEN_XML_ATTR(properties, setProperties, "properties")
    ORVEN_XML_ATTR(value, setValue, "value")
};

class TXMLPeriodicidadeType : public XmlElement {
public:
    using XmlElement::XmlElement;
    ORVEN_XML_ATTR(properties, setProperties, "properties")
    ORVEN_XML_ITEMS(TXMLDadosType, "dados")
};

class TXMLContaType : public XmlElement {
public:
    using XmlElement::XmlElement;
    ORVEN_XML_ATTR(name, setName, "name")
    ORVEN_XML_ATTR(value, setValue, "value")
    ORVEN_XML_ATTR(id, setId, "id")
    ORVEN_XML_ITEMS(TXMLPeriodicidadeType, "periodicidade")
};

class TXMLTipoType : public XmlElement {
public:
    using XmlElement::XmlElement;
    ORVEN_XML_ATTR(name, setName, "name")
    ORVEN_XML_ATTR(value, setValue, "value")
    ORVEN_XML_ATTR(id, setId, "id")
    ORVEN_XML_ITEMS(TXMLContaType, "conta")
};

class TXMLOpcaoType : public XmlElement {
public:
    using XmlElement::XmlElement;
    ORVEN_XML_ATTR(name, setName, "name")
    ORVEN_XML_ATTR(id, setId, "id")
    ORVEN_XML_ITEMS(TXMLTipoType, "tipo")
};

class TXMLCadastroType : public XmlElement {
public:
    using XmlElement::XmlElement;
    ORVEN_XML_ATTR(name, setName, "name")
    ORVEN_XML_ITEMS(TXMLOpcaoType, "opcao")
};

class TXMLSistemaType : public XmlElement {
public:
    using XmlElement::XmlElement;
    ORVEN_XML_ATTR(name, setName, "name")
    ORVEN_XML_ATTR(properties, setProperties, "properties")
    ORVEN_XML_ATTR(value, setValue, "value")
    ORVEN_XML_ATTR(version, setVersion, "version")
    ORVEN_XML_ATTR(xmlns, setXmlns, "xmlns")
    ORVEN_XML_ATTR(xmlnsXsi, setXmlnsXsi, "xmlns:xsi")
    ORVEN_XML_ITEMS(TXMLCadastroType, "cadastro")
};

#undef ORVEN_XML_ATTR
#undef ORVEN_XML_ITEMS

// The document of one run: declaration (version "1.0", encoding
// "iso-8859-1") and the "sistema" element.
class CaptureDocument {
public:
    CaptureDocument();
    CaptureDocument(const CaptureDocument &) = delete;
    CaptureDocument &operator=(const CaptureDocument &) = delete;

    TXMLSistemaType sistema() const { return TXMLSistemaType(m_root); }

    // The document as text lines, declaration first, one element per line,
    // indented by depth below "sistema", every empty namespace declaration
    // (" xmlns=\"\"") removed.
    QStringList lines() const;

    // The bytes of the file: the lines in ISO-8859-1 (a character outside it
    // as a character reference), each ended by CR LF.
    QByteArray fileBytes() const;

    // Writes the file to path through a temporary file in the same folder
    // that replaces the old file only when complete; an earlier file stays
    // untouched when writing fails or when `cancelled` answers true just
    // before the file is replaced (then false is returned and nothing is
    // written). Throws orven::Error when writing fails.
    bool write(const QString &path, const std::function<bool()> &cancelled = {}) const;

private:
    pugi::xml_document m_doc;
    pugi::xml_node m_root;
};

} // namespace orven::capture
