// What the panels share: elements by id and made with their text, the browser's storage
// (or null where there is none), and a table's row of column headings.

export const $ = (id) => document.getElementById(id);

// An element with its text (set as text, never as HTML) and attributes.
export function element(tag, text, attributes = {}) {
  const made = document.createElement(tag);
  if (text !== undefined && text !== null) made.textContent = text;
  for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
  return made;
}

export function storage() {
  try {
    return window.localStorage;
  } catch {
    return null; // no storage: the page works, without statistics
  }
}

// A table's head: one row of column headings.
export function tableHead(columns) {
  const row = element("tr");
  for (const column of columns) row.append(element("th", column, { scope: "col" }));
  const head = element("thead");
  head.append(row);
  return head;
}
