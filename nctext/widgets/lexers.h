#pragma once
namespace velmora {
class Host;
// Installs the highlighters (the documents' lexer factory) and the HTML export command.
void installHighlighting(Host &host);
} // namespace velmora
