// The index page: every domain file of the data set, grouped by area, newest version first,
// with a filter over all the columns.
"use strict";

const kAreas = [
  ["node", "Node"],
  ["configuration", "Configuration"],
  ["program", "PC program"],
  ["other", "Other files"],
];

function DomainRow(domain) {
  const el = MorvitSite.el;
  const name = domain.page ? el("a", { href: "domain.html?d=" + domain.id }, domain.name) : domain.name;
  const status = domain.clean
    ? el("span", { class: "ok" }, "reads cleanly")
    : el("span", { class: "damaged", title: domain.problem }, "damaged: " + domain.problem);
  const links = [];
  if (domain.listing.length) links.push(el("a", { href: domain.listing[0] }, "listing"));
  for (const relation of domain.related) {
    links.push(el("a", { href: "domain.html?d=" + relation.id, class: "rel" }, relation.label));
  }
  for (const diff of domain.diffs) {
    links.push(el("a", { href: "diff.html?d=" + diff.id, class: "difflink" }, "diff " + diff.label));
  }
  const row = el("tr", { "data-id": domain.id },
    el("td", { class: "mono" }, name),
    el("td", {}, domain.typeName + " (" + domain.type + ")"),
    el("td", { class: "num" }, domain.scope),
    el("td", { class: "num" }, domain.version),
    el("td", { class: "num" }, domain.object),
    el("td", { class: "mono" }, domain.time),
    el("td", { class: "num" }, domain.major + "/" + domain.minor),
    el("td", { class: "num" }, domain.parts),
    el("td", { class: "num", title: domain.sizes.join(" + ") + " bytes" }, domain.size.toLocaleString("en")),
    el("td", {}, status),
    el("td", { class: "related" }, links));
  row.dataset.text = [domain.name, domain.typeName, "type " + domain.type, "scope " + domain.scope,
    "version " + domain.version, "object " + domain.object, domain.time,
    domain.clean ? "clean" : "damaged " + domain.problem].join(" ").toLowerCase();
  return row;
}

function ShowIndex(index) {
  const el = MorvitSite.el;
  document.title = "Data set " + index.dataSet;
  document.getElementById("title").textContent = "Data set " + index.dataSet;
  document.getElementById("sub").textContent =
    index.domains.length + " domain files, written by morvit view " + index.written;
  const areas = document.getElementById("areas");
  for (const [area, title] of kAreas) {
    const domains = index.domains.filter((domain) => domain.area === area);
    if (domains.length === 0) continue;
    const head = el("tr", {}, ["File", "Type", "Scope", "Version", "Object", "Time stamp",
      "Major/minor", "Parts", "Size", "Reads", "Links"].map((text) => el("th", {}, text)));
    areas.appendChild(el("section", { "data-area": area },
      el("h2", {}, title),
      el("table", {}, el("thead", {}, head), el("tbody", {}, domains.map(DomainRow)))));
  }
  const filter = document.getElementById("filter");
  const apply = () => {
    const words = filter.value.toLowerCase().split(/\s+/).filter(Boolean);
    let shown = 0;
    for (const row of areas.querySelectorAll("tbody tr")) {
      const match = words.every((word) => row.dataset.text.includes(word));
      row.hidden = !match;
      if (match) shown++;
    }
    for (const section of areas.querySelectorAll("section")) {
      section.hidden = section.querySelector("tbody tr:not([hidden])") === null;
    }
    document.getElementById("count").textContent = shown + " of " + index.domains.length + " files";
  };
  filter.addEventListener("input", apply);
  apply();
}

MorvitSite.load("data/index.js").then(ShowIndex, (error) => MorvitSite.fail(error.message));
