// The comparison of two versions of a domain, field by field, matched by their place in the
// structure: lines as in a unified diff, with the label and both values.
"use strict";

const kLineClass = { "@": "head", "-": "del", "+": "add", "~": "chg" };

function DiffLine([op, place, label, before, after]) {
  let text;
  if (op === "@") text = "@@ " + place;
  else if (op === "~") text = "~ " + label + ": " + before + " -> " + after;
  else if (op === "-") text = "- " + label + ": " + before;
  else text = "+ " + label + ": " + after;
  if (op !== "@" && !label) text = text.replace(": ", "(no label): ");
  return MorvitSite.el("div", { class: "diffline " + kLineClass[op], title: place }, text);
}

function ShowDiff(diff) {
  const el = MorvitSite.el;
  const title = diff.a.name + " -> " + diff.b.name;
  document.title = title;
  document.getElementById("title").textContent = diff.typeName + ": " + title;
  document.getElementById("sub").textContent = diff.summary;
  document.getElementById("links").replaceChildren(
    el("a", { href: "domain.html?d=" + diff.a.id }, diff.a.name),
    el("a", { href: "domain.html?d=" + diff.b.id }, diff.b.name));
  document.getElementById("diff").replaceChildren(
    ...(diff.lines.length ? diff.lines.map(DiffLine) : [el("p", {}, "No differences.")]));
}

(() => {
  const id = MorvitSite.param("d");
  if (!id) return MorvitSite.fail("No comparison named (diff.html?d=ID).");
  MorvitSite.load("data/" + id + ".js").then(ShowDiff, (error) => MorvitSite.fail(error.message));
})();
